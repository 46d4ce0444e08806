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
    <message>
        <source>en_US</source>
        <comment>the locale of the numbers on the trend's axes</comment>
        <translation>pl_PL</translation>
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
<context>
    <name>readElement</name>
    <message>
        <source>Plot in the trend</source>
        <translation>Pokaż na wykresie</translation>
    </message>
</context>
<context>
    <name>trendCommands</name>
    <message>
        <source>Trend</source>
        <translation>Wykres</translation>
    </message>
    <message>
        <source>Record to CSV…</source>
        <translation>Nagrywaj do CSV…</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Zatrzymaj nagrywanie</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>Record to CSV</source>
        <translation>Nagrywanie do CSV</translation>
    </message>
    <message>
        <source>Cannot record to %1:
%2</source>
        <translation>Nie można nagrywać do %1:
%2</translation>
    </message>
    <message>
        <source>Recording to %1 stopped: %2</source>
        <translation>Nagrywanie do %1 przerwane: %2</translation>
    </message>
</context>
<context>
    <name>logLines</name>
    <message>
        <source>Record file</source>
        <translation>Nagrywanie do pliku</translation>
    </message>
</context>
<context>
    <name>resultSink</name>
    <message>
        <source>Recording: %1</source>
        <translation>Nagrywanie: %1</translation>
    </message>
</context>
</TS>
