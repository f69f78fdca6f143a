<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>Calendario</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Relojes mundiales</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>mañana</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>ayer</translation>
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
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Mostrar</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>Día de la semana</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Año</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Segundos</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Zona horaria</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>AM/PM</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>Formato de 24 horas</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>Hacer parpadear los separadores</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>Formato personalizado</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>Patrón del formato de fecha</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>Patrón vacío</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>Ayuda del patrón</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E día de la semana · MMM mes · d día · y año · HH o h hora · mm · ss · a AM/PM · z zona horaria · &apos;texto&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>Fecha y hora…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>Configuración de fecha y hora</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>No se puede guardar la configuración en %1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>Abrir al iniciar sesión no puede funcionar aquí: vorelt-launcher no está instalado.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendario</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>Números de semana</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>Buscar una ciudad</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Relojes mundiales</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>Ciudades</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
</context>
</TS>
