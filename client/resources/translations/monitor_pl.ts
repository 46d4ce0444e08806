<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>monitorWindow</name>
    <message>
        <source>Monitor</source>
        <translation>Podsłuch</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Linia</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>A free serial port, or the path of a line</source>
        <translation>Wolny port szeregowy albo ścieżka linii</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Odśwież</translation>
    </message>
    <message>
        <source>List the free serial ports again</source>
        <translation>Wyszukuje ponownie wolne porty szeregowe</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>Prędkość</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parzystość</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Brak</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Parzysta</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Nieparzysta</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Bity danych</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Bity stopu</translation>
    </message>
    <message>
        <source>Framing</source>
        <translation>Ramkowanie</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Listen to the line with qelDrvMonitor; nothing is sent on it</source>
        <translation>Nasłuchuje linii programem qelDrvMonitor; nic nie jest na nią wysyłane</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Zatrzymaj</translation>
    </message>
    <message>
        <source>End the listening; the monitor&apos;s summary follows</source>
        <translation>Kończy nasłuch; po nim następuje podsumowanie monitora</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtr</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Wszystkie</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Funkcja</translation>
    </message>
    <message>
        <source>Errors only</source>
        <translation>Tylko błędy</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Wstrzymaj</translation>
    </message>
    <message>
        <source>Freeze the table; transactions keep being collected</source>
        <translation>Zatrzymuje tabelę; transakcje są nadal zbierane</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Wyczyść</translation>
    </message>
    <message>
        <source>Remove every transaction from the table</source>
        <translation>Usuwa wszystkie transakcje z tabeli</translation>
    </message>
    <message>
        <source>Save as CSV…</source>
        <translation>Zapisz jako CSV…</translation>
    </message>
    <message>
        <source>Save the transactions the filter shows, as the monitor&apos;s CSV rows</source>
        <translation>Zapisuje transakcje pokazane przez filtr jako wiersze CSV monitora</translation>
    </message>
    <message>
        <source>The monitor&apos;s messages and its summary</source>
        <translation>Komunikaty monitora i jego podsumowanie</translation>
    </message>
    <message>
        <source>Choose the serial port to listen to.</source>
        <translation>Wybierz port szeregowy do nasłuchu.</translation>
    </message>
    <message>
        <source>%1 is the project&apos;s active port: the monitor would take bytes of the replies its requests wait for. Listen through a second adapter on the same bus.</source>
        <translation>%1 jest aktywnym portem projektu: monitor zabierałby bajty odpowiedzi, na które czekają jego zapytania. Nasłuchuj przez drugi adapter na tej samej magistrali.</translation>
    </message>
    <message>
        <source>%1 has become the project&apos;s active port: the listening ends, so that the drivers get every byte of the replies they wait for.</source>
        <translation>%1 stał się aktywnym portem projektu: nasłuch kończy się, aby sterowniki dostały każdy bajt odpowiedzi, na które czekają.</translation>
    </message>
    <message>
        <source>The monitor did not end when asked and was killed</source>
        <translation>Monitor nie zakończył się na żądanie i został zabity</translation>
    </message>
    <message>
        <source>The monitor was ended by signal %1</source>
        <translation>Monitor został zakończony sygnałem %1</translation>
    </message>
    <message>
        <source>The monitor failed (status %1)</source>
        <translation>Monitor zakończył się błędem (status %1)</translation>
    </message>
    <message>
        <source>Listening ended</source>
        <translation>Nasłuch zakończony</translation>
    </message>
    <message>
        <source>Starting the monitor on %1…</source>
        <translation>Uruchamianie monitora na %1…</translation>
    </message>
    <message>
        <source>Stopping…</source>
        <translation>Zatrzymywanie…</translation>
    </message>
    <message>
        <source>Transactions: %1</source>
        <translation>Transakcje: %1</translation>
    </message>
    <message>
        <source>errors: %1</source>
        <translation>błędy: %1</translation>
    </message>
    <message>
        <source>shown: %1</source>
        <translation>widoczne: %1</translation>
    </message>
    <message>
        <source>oldest dropped: %1 (the last %2 are kept)</source>
        <translation>usunięte najstarsze: %1 (zachowywane są ostatnie %2)</translation>
    </message>
    <message>
        <source>paused, waiting: %1</source>
        <translation>wstrzymano, czekają: %1</translation>
    </message>
    <message>
        <source>Save as CSV</source>
        <translation>Zapisz jako CSV</translation>
    </message>
    <message>
        <source>Cannot save the transactions to %1:
%2</source>
        <translation>Nie można zapisać transakcji do %1:
%2</translation>
    </message>
    <message>
        <source>Transactions saved to %1: %2</source>
        <translation>Transakcje zapisane do %1: %2</translation>
    </message>
</context>
<context>
    <name>monitorTransactionModel</name>
    <message>
        <source>Time</source>
        <translation>Czas</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Funkcja</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Początek</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Liczba</translation>
    </message>
    <message>
        <source>Request</source>
        <translation>Zapytanie</translation>
    </message>
    <message>
        <source>Reply</source>
        <translation>Odpowiedź</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Request frame</source>
        <translation>Ramka zapytania</translation>
    </message>
    <message>
        <source>Reply frame</source>
        <translation>Ramka odpowiedzi</translation>
    </message>
</context>
<context>
    <name>monitorSession</name>
    <message>
        <source>The monitor is already running</source>
        <translation>Monitor już działa</translation>
    </message>
    <message>
        <source>Cannot start %1: %2</source>
        <translation>Nie można uruchomić %1: %2</translation>
    </message>
    <message>
        <source>The monitor&apos;s rows are not of the form this window reads: %1</source>
        <translation>Wiersze monitora nie mają postaci, którą czyta to okno: %1</translation>
    </message>
    <message>
        <source>The monitor ended within a row; the row is left out</source>
        <translation>Monitor zakończył się w środku wiersza; ten wiersz pominięto</translation>
    </message>
    <message>
        <source>Rows left out for their length: %1</source>
        <translation>Wiersze pominięte z powodu długości: %1</translation>
    </message>
</context>
<context>
    <name>monitorCsvFile</name>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 jest folderem</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 nie jest zwykłym plikiem</translation>
    </message>
</context>
<context>
    <name>monitorCommands</name>
    <message>
        <source>Monitor</source>
        <translation>Podsłuch</translation>
    </message>
    <message>
        <source>Listen to a serial bus and show what its master and devices say</source>
        <translation>Nasłuchuje magistrali szeregowej i pokazuje, co mówią jej master i urządzenia</translation>
    </message>
</context>
</TS>
