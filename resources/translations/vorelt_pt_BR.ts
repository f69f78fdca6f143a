<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>CalendarPopoverViewController</name>
    <message>
        <source>Calendar</source>
        <translation>Calendário</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoje</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Relógios mundiais</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>amanhã</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>ontem</translation>
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
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Exibir</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>Dia da semana</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Ano</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Segundos</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Fuso horário</translation>
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
        <translation>Piscar os separadores</translation>
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
        <translation>Padrão do formato de data</translation>
    </message>
    <message>
        <source>Empty pattern</source>
        <translation>Padrão vazio</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Pré-visualização</translation>
    </message>
    <message>
        <source>Pattern help</source>
        <translation>Ajuda do padrão</translation>
    </message>
    <message>
        <source>E day · MMM month · d day · y year · HH or h hour · mm · ss · a AM/PM · z zone · &apos;text&apos;</source>
        <translation>E dia da semana · MMM mês · d dia · y ano · HH ou h hora · mm · ss · a AM/PM · z fuso horário · &apos;texto&apos;</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Abrir ao iniciar sessão</translation>
    </message>
    <message>
        <source>Date &amp;&amp; Time Settings…</source>
        <translation>Data e hora…</translation>
    </message>
    <message>
        <source>Date and Time Settings</source>
        <translation>Configurações de data e hora</translation>
    </message>
    <message>
        <source>Settings can&apos;t be saved in %1.</source>
        <translation>Não foi possível salvar as configurações em %1.</translation>
    </message>
    <message>
        <source>Launch at login can&apos;t work here: vorelt-launcher is not installed.</source>
        <translation>Abrir ao iniciar a sessão não funciona aqui: vorelt-launcher não está instalado.</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendário</translation>
    </message>
    <message>
        <source>Week numbers</source>
        <translation>Números das semanas</translation>
    </message>
    <message>
        <source>Search for a city</source>
        <translation>Pesquisar uma cidade</translation>
    </message>
    <message>
        <source>World clocks</source>
        <translation>Relógios mundiais</translation>
    </message>
    <message>
        <source>Cities</source>
        <translation>Cidades</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Mover para cima</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Mover para baixo</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remover</translation>
    </message>
</context>
</TS>
