<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>לוח שנה</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>היום</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>הגדרות</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>יציאה</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>שעונים בעולם</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 שע׳</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>מחר</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>אתמול</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <extracomment>&quot;RTL&quot; in languages written from right to left, such as Arabic and Hebrew; &quot;LTR&quot; in others.</extracomment>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>SettingsViewController</name>
    <message>
        <source>Settings</source>
        <translation>הגדרות</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>תצוגה</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>יום בשבוע</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>תאריך</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>שנה</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>שניות</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>אזור זמן</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>לפנה״צ/אחה״צ</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>שעון 24 שעות</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>הבהוב המפרידים</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>פורמט</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>פורמט מותאם אישית</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>תבנית פורמט התאריך</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>תבנית ריקה</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>תצוגה מקדימה</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>עזרה לתבנית</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>‏E יום בשבוע · MMM חודש · d יום · y שנה · HH או h שעה · mm · ss · a לפנה״צ/אחה״צ · z אזור זמן · &apos;טקסט&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>הפעלה בכניסה למערכת</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>הגדרות תאריך ושעה…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>הגדרות תאריך ושעה</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>לא ניתן לשמור את ההגדרות ב־%1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>הפעלה בכניסה לא יכולה לעבוד כאן: vorelt-launcher אינו מותקן.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>לוח שנה</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>מספרי שבועות</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>חיפוש עיר</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>שעונים בעולם</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>ערים</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>הוספה</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>העברה למעלה</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>העברה למטה</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>הסרה</translation>
    </message>
</context>
</TS>
