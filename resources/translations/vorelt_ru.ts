<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>Календарь</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Сегодня</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выйти</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Мировое время</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 ч</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>завтра</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>вчера</translation>
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
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Показывать</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>День недели</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Год</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Секунды</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Часовой пояс</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>AM/PM</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>24-часовой формат</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>Мигающие разделители</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Формат</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>Свой формат</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>Шаблон формата даты</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>Пустой шаблон</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Предпросмотр</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>Справка по шаблону</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E день недели · MMM месяц · d день · y год · HH или h час · mm · ss · a AM/PM · z часовой пояс · &apos;текст&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Запускать при входе в систему</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>Дата и время…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>Настройки даты и времени</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>Не удаётся сохранить настройки в %1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>Запуск при входе здесь не работает: vorelt-launcher не установлен.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Календарь</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>Номера недель</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>Поиск города</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Мировое время</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>Города</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Вверх</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Вниз</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
</context>
</TS>
