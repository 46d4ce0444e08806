<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>trendWindow</name>
    <message>
        <source>Trend</source>
        <translation>Wykres</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Wstrzymaj</translation>
    </message>
    <message>
        <source>Autoscale</source>
        <translation>Dopasuj skalę</translation>
    </message>
    <message>
        <source>Freeze the plot; values keep being collected</source>
        <translation>Zatrzymuje wykres; wartości są nadal zbierane</translation>
    </message>
    <message>
        <source>Fit both axes to the values and follow them</source>
        <translation>Dopasowuje obie osie do wartości i podąża za nimi</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>How long values are kept</source>
        <translation>Jak długo wartości są przechowywane</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Przechowuj</translation>
    </message>
</context>
<context>
    <name>trendPlot</name>
    <message>
        <source>Mark read rows with their trend box to plot their values here.</source>
        <translation>Zaznacz pole wykresu przy wierszach odczytu, aby pokazać tu ich wartości.</translation>
    </message>
</context>
<context>
    <name>csvRecorder</name>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 jest folderem</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 nie jest zwykłym plikiem</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Nieznany błąd</translation>
    </message>
</context>
</TS>
