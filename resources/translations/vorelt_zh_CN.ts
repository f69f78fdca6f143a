<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>日历</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>今天</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>世界时钟</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 小时</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>明天</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>昨天</translation>
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
        <translation>设置</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>星期</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>年份</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>时区</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>上午/下午</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>24 小时制</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>闪烁分隔符</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>自定义格式</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>日期格式模式</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>空模式</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>模式帮助</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E 星期 · MMM 月 · d 日 · y 年 · HH 或 h 小时 · mm · ss · a 上午/下午 · z 时区 · &apos;文本&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>登录时启动</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>日期和时间设置…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>日期和时间设置</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>无法在 %1 中保存设置。</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>此处无法在登录时启动：未安装 vorelt-launcher。</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>日历</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>周数</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>搜索城市</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>世界时钟</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>城市</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
</context>
</TS>
