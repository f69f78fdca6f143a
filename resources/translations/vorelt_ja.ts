<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>カレンダー</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>今日</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>世界時計</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 時間</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>明日</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>昨日</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <extracomment>&quot;RTL&quot; in languages written from right to left, such as Arabic and Hebrew; &quot;LTR&quot; in others.</extracomment>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>SettingsViewController</name>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>曜日</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>年</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>タイムゾーン</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>午前/午後</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>24時間表示</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>区切り文字を点滅</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>書式</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>カスタム書式</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>日付書式のパターン</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>空のパターン</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>パターンのヘルプ</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E 曜日 · MMM 月 · d 日 · y 年 · HH または h 時 · mm · ss · a 午前/午後 · z タイムゾーン · &apos;テキスト&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>ログイン時に起動</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>日付と時刻の設定…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>日付と時刻の設定</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>%1 に設定を保存できません。</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>ここではログイン時の起動は機能しません。vorelt-launcher がインストールされていません。</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>カレンダー</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>週番号</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>都市を検索</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>世界時計</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>都市</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上へ</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下へ</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
</context>
</TS>
