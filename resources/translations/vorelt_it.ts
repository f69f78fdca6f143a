<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>Calendario</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Oggi</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Orologi nel mondo</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>domani</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>ieri</translation>
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
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Mostra</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>Giorno della settimana</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Anno</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Secondi</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Fuso orario</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>AM/PM</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>Formato 24 ore</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>Separatori lampeggianti</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>Formato personalizzato</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>Modello del formato data</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>Modello vuoto</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Anteprima</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>Guida al modello</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E giorno della settimana · MMM mese · d giorno · y anno · HH o h ora · mm · ss · a AM/PM · z fuso orario · &apos;testo&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Avvia all’accesso</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>Data e ora…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>Impostazioni di data e ora</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>Impossibile salvare le impostazioni in %1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>L’avvio all’accesso non può funzionare qui: vorelt-launcher non è installato.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendario</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>Numeri delle settimane</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>Cerca una città</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Orologi nel mondo</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>Città</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Aggiungi</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Sposta su</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Sposta giù</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Rimuovi</translation>
    </message>
</context>
</TS>
