<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Aujourd’hui</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Horloges mondiales</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>demain</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>hier</translation>
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
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>Jour de la semaine</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Année</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Secondes</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Fuseau horaire</translation>
    </message>
    <message>
        <source>AM/PM</source>
        <translation>AM/PM</translation>
    </message>
    <message>
        <source>24-hour clock</source>
        <translation>Format 24 heures</translation>
    </message>
    <message>
        <source>Flash the separators</source>
        <translation>Faire clignoter les séparateurs</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Custom format</source>
        <translation>Format personnalisé</translation>
    </message>
    <message>
        <source>Date format pattern</source>
        <translation>Modèle du format de date</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>Modèle vide</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>Aide sur le modèle</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E jour de la semaine · MMM mois · d jour · y année · HH ou h heure · mm · ss · a AM/PM · z fuseau · &apos;texte&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Lancer à l’ouverture de session</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>Date et heure…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>Paramètres de date et d’heure</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>Impossible d’enregistrer les paramètres dans %1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>Le lancement à l’ouverture de session ne peut pas fonctionner ici : vorelt-launcher n’est pas installé.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>Numéros de semaine</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>Rechercher une ville</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Horloges mondiales</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>Villes</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
</context>
</TS>
