<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>التقويم</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>اليوم</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>الإعدادات</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>إنهاء</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>الساعات العالمية</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 س</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>غدًا</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>أمس</translation>
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
        <translation>الإعدادات</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>العرض</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>يوم الأسبوع</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>التاريخ</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>السنة</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>الثواني</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>المنطقة الزمنية</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>ص/م</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>نظام 24 ساعة</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>وميض الفواصل</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>التنسيق</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>تنسيق مخصص</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>نمط تنسيق التاريخ</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>نمط فارغ</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>معاينة</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>مساعدة النمط</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>‏E يوم الأسبوع · MMM الشهر · d اليوم · y السنة · HH أو h الساعة · mm · ss · a ص/م · z المنطقة الزمنية · &apos;نص&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>التشغيل عند تسجيل الدخول</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>إعدادات التاريخ والوقت…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>إعدادات التاريخ والوقت</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>تعذّر حفظ الإعدادات في %1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>لا يمكن التشغيل عند تسجيل الدخول هنا: vorelt-launcher غير مثبّت.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>التقويم</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>أرقام الأسابيع</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>البحث عن مدينة</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>الساعات العالمية</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>المدن</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>إضافة</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>نقل لأعلى</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>نقل لأسفل</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>إزالة</translation>
    </message>
</context>
</TS>
