<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>MainWindow</name>
    <message>
        <source>Stop</source>
        <translation>Zatrzymaj</translation>
    </message>
    <message>
        <source>Automatic refresh stopped</source>
        <translation>Automatyczne odświeżanie zatrzymane</translation>
    </message>
    <message>
        <source>ModbusClient</source>
        <translation>ModbusClient</translation>
    </message>
    <message>
        <source>Communications</source>
        <translation>Komunikacja</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Dane</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Odczyt</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Zapis</translation>
    </message>
    <message>
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Plik</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edycja</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Polecenia</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Widok</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>Pasek narzędzi</translation>
    </message>
    <message>
        <source>mainToolBar</source>
        <translation>Główny pasek narzędzi</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nowy</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otwórz</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Zapisz</translation>
    </message>
    <message>
        <source>SaveAs</source>
        <translation>Zapisz jako</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Wyjście</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Cofnij</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ponów</translation>
    </message>
    <message>
        <source>ProjName</source>
        <translation>Nazwa projektu</translation>
    </message>
    <message>
        <source>AddRTU</source>
        <translation>Dodaj RTU</translation>
    </message>
    <message>
        <source>AddTCP</source>
        <translation>Dodaj TCP</translation>
    </message>
    <message>
        <source>AddRead</source>
        <translation>Dodaj odczyt</translation>
    </message>
    <message>
        <source>AddWrite</source>
        <translation>Dodaj zapis</translation>
    </message>
    <message>
        <source>AddMacro</source>
        <translation>Dodaj makro</translation>
    </message>
    <message>
        <source>WriteData</source>
        <translation>Zapisz dane</translation>
    </message>
    <message>
        <source>WriteMacro</source>
        <translation>Wyślij makro</translation>
    </message>
    <message>
        <source>WriteAll</source>
        <translation>Zapisz wszystko</translation>
    </message>
    <message>
        <source>ReadAll</source>
        <translation>Odczytaj wszystko</translation>
    </message>
    <message>
        <source>AutoRefresh</source>
        <translation>Automatyczne odświeżanie</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Dziennik</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Język</translation>
    </message>
    <message>
        <source>Verbose</source>
        <translation>Tryb szczegółowy</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>Please active port !!!</source>
        <translation>Proszę aktywować port !!!</translation>
    </message>
    <message>
        <source>Save project ?</source>
        <translation>Zapisać projekt ?</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Otwórz plik</translation>
    </message>
    <message>
        <source>Cannot open the project %1:
%2</source>
        <translation>Nie można otworzyć projektu %1:
%2</translation>
    </message>
    <message>
        <source>Cannot save the project to %1:
%2</source>
        <translation>Nie można zapisać projektu do %1:
%2</translation>
    </message>
    <message>
        <source>Save to File</source>
        <translation>Zapisz do pliku</translation>
    </message>
</context>
<context>
    <name>driverCommand</name>
    <message>
        <source>Not run: the register kind or data type is not one the driver knows</source>
        <translation>Nie uruchomiono: sterownik nie zna tego rodzaju rejestru lub typu danych</translation>
    </message>
    <message>
        <source>Not run: a value is empty or holds a blank or a double quote</source>
        <translation>Nie uruchomiono: wartość jest pusta albo zawiera spację lub cudzysłów</translation>
    </message>
</context>
<context>
    <name>logLines</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>BŁĄD</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Otwarcie pliku</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>Zapis pliku</translation>
    </message>
</context>
<context>
    <name>projectFile</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Nie można utworzyć folderu %1</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 nie jest zwykłym plikiem</translation>
    </message>
    <message>
        <source>The file is too large for a project: %1 bytes, at most %2</source>
        <translation>Plik jest za duży na projekt: %1 bajtów, najwyżej %2</translation>
    </message>
    <message>
        <source>The file is not valid JSON: %1 at offset %2</source>
        <translation>Plik nie jest poprawnym JSON: %1 w pozycji %2</translation>
    </message>
    <message>
        <source>The file holds no project: its JSON is not an object</source>
        <translation>Plik nie zawiera projektu: jego JSON nie jest obiektem</translation>
    </message>
</context>
<context>
    <name>driverRunner</name>
    <message>
        <source>the client is closing</source>
        <translation>klient jest zamykany</translation>
    </message>
    <message>
        <source>the driver could not be started: %1</source>
        <translation>nie można uruchomić sterownika: %1</translation>
    </message>
    <message>
        <source>the driver was ended by signal %1 (%2)</source>
        <translation>sterownik został zakończony sygnałem %1 (%2)</translation>
    </message>
    <message>
        <source>the driver did not answer within %1 ms</source>
        <translation>sterownik nie odpowiedział w ciągu %1 ms</translation>
    </message>
    <message>
        <source>the driver ended with status %1</source>
        <translation>sterownik zakończył pracę ze statusem %1</translation>
    </message>
    <message numerus="yes">
        <source>stopped; %n more not run</source>
        <translation>
            <numerusform>zatrzymano; %n kolejne żądanie nie wykonane</numerusform>
            <numerusform>zatrzymano; %n kolejne żądania nie wykonane</numerusform>
            <numerusform>zatrzymano; %n kolejnych żądań nie wykonanych</numerusform>
        </translation>
    </message>
    <message>
        <source>Not run: another request is running</source>
        <translation>Nie uruchomiono: trwa inne zapytanie</translation>
    </message>
</context>
<context>
    <name>runStatistics</name>
    <message>
        <source>Statistics</source>
        <translation>Statystyka</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Razem</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>Błędy</translation>
    </message>
</context>
</TS>
