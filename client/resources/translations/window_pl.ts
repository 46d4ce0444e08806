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
        <source>Not run: a value is empty or holds a blank, a double quote or a control character</source>
        <translation>Nie uruchomiono: wartość jest pusta albo zawiera spację, cudzysłów lub znak sterujący</translation>
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
        <source>%1 wrote nothing for %2 ms and was ended</source>
        <translation>program %1 nic nie wypisał przez %2 ms i został zakończony</translation>
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
<context>
    <name>knownCauses</name>
    <message>
        <source>Illegal function</source>
        <translation>Niedozwolona funkcja</translation>
    </message>
    <message>
        <source>Illegal data address</source>
        <translation>Niedozwolony adres danych</translation>
    </message>
    <message>
        <source>Illegal data value</source>
        <translation>Niedozwolona wartość danych</translation>
    </message>
    <message>
        <source>Slave device or server failure</source>
        <translation>Awaria urządzenia podrzędnego lub serwera</translation>
    </message>
    <message>
        <source>Acknowledge</source>
        <translation>Potwierdzenie: urządzenie przyjęło żądanie i wykonuje je</translation>
    </message>
    <message>
        <source>Slave device or server is busy</source>
        <translation>Urządzenie podrzędne lub serwer jest zajęty</translation>
    </message>
    <message>
        <source>Negative acknowledge</source>
        <translation>Odmowa wykonania</translation>
    </message>
    <message>
        <source>Memory parity error</source>
        <translation>Błąd parzystości pamięci</translation>
    </message>
    <message>
        <source>Gateway path unavailable</source>
        <translation>Ścieżka przez bramę niedostępna</translation>
    </message>
    <message>
        <source>Target device failed to respond</source>
        <translation>Urządzenie za bramą nie odpowiedziało</translation>
    </message>
    <message>
        <source>Invalid CRC</source>
        <translation>Błędna suma kontrolna CRC</translation>
    </message>
    <message>
        <source>Invalid data</source>
        <translation>Błędne dane</translation>
    </message>
    <message>
        <source>Invalid exception code</source>
        <translation>Błędny kod wyjątku</translation>
    </message>
    <message>
        <source>Too many data</source>
        <translation>Zbyt wiele danych</translation>
    </message>
    <message>
        <source>Response not from requested slave</source>
        <translation>Odpowiedź nie od odpytywanego urządzenia</translation>
    </message>
    <message>
        <source>Invalid LRC</source>
        <translation>Błędna suma kontrolna LRC</translation>
    </message>
    <message>
        <source>Invalid ASCII frame</source>
        <translation>Błędna ramka ASCII</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>To nie jest zwykły plik</translation>
    </message>
    <message>
        <source>The device did not answer within %1 ms</source>
        <translation>Urządzenie nie odpowiedziało w ciągu %1 ms</translation>
    </message>
    <message>
        <source>The device&apos;s reply was incomplete after %1 ms</source>
        <translation>Odpowiedź urządzenia była niepełna po %1 ms</translation>
    </message>
    <message>
        <source>Connection fails: %1</source>
        <translation>Nie można nawiązać połączenia: %1</translation>
    </message>
    <message>
        <source>Timed out while connecting</source>
        <translation>upłynął czas oczekiwania na połączenie</translation>
    </message>
    <message>
        <source>Unable to create the Modbus context</source>
        <translation>Nie można utworzyć kontekstu Modbus</translation>
    </message>
    <message>
        <source>Macro params error</source>
        <translation>Błędne parametry makra</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>połączenie odrzucone</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>brak trasy do hosta</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>sieć jest nieosiągalna</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>połączenie zerwane przez drugą stronę</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>upłynął czas połączenia</translation>
    </message>
    <message>
        <source>Broken pipe</source>
        <translation>przerwany potok</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>brak uprawnień</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>nie ma takiego pliku ani katalogu</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>urządzenie lub zasób jest zajęty</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>błąd wejścia/wyjścia</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>nieprawidłowy argument</translation>
    </message>
    <message>
        <source>certificate verify failed: %1</source>
        <translation>weryfikacja certyfikatu nie powiodła się: %1</translation>
    </message>
    <message>
        <source>certificate: %1</source>
        <translation>certyfikat: %1</translation>
    </message>
    <message>
        <source>private key: %1</source>
        <translation>klucz prywatny: %1</translation>
    </message>
    <message>
        <source>CA: %1</source>
        <translation>urząd certyfikacji: %1</translation>
    </message>
    <message>
        <source>certificate has expired</source>
        <translation>certyfikat wygasł</translation>
    </message>
    <message>
        <source>certificate is not yet valid</source>
        <translation>certyfikat nie jest jeszcze ważny</translation>
    </message>
    <message>
        <source>unable to get local issuer certificate</source>
        <translation>brak certyfikatu wystawcy</translation>
    </message>
    <message>
        <source>unable to verify the first certificate</source>
        <translation>nie można zweryfikować pierwszego certyfikatu</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>certyfikat podpisany przez samego siebie</translation>
    </message>
    <message>
        <source>self-signed certificate in certificate chain</source>
        <translation>certyfikat podpisany przez samego siebie w łańcuchu certyfikatów</translation>
    </message>
    <message>
        <source>key values mismatch</source>
        <translation>klucz nie pasuje do certyfikatu</translation>
    </message>
    <message>
        <source>no PEM certificate in the file</source>
        <translation>w pliku nie ma certyfikatu PEM</translation>
    </message>
    <message>
        <source>no PEM private key without pass phrase in the file</source>
        <translation>w pliku nie ma klucza prywatnego PEM bez hasła</translation>
    </message>
    <message>
        <source>tlsv13 alert certificate required</source>
        <translation>serwer wymaga certyfikatu klienta</translation>
    </message>
    <message>
        <source>sslv3 alert bad certificate</source>
        <translation>serwer odrzucił certyfikat</translation>
    </message>
    <message>
        <source>sslv3 alert handshake failure</source>
        <translation>uzgadnianie TLS nie powiodło się</translation>
    </message>
    <message>
        <source>tlsv1 alert unknown ca</source>
        <translation>serwer nie zna urzędu certyfikacji</translation>
    </message>
    <message>
        <source>wrong version number</source>
        <translation>niewłaściwy numer wersji protokołu</translation>
    </message>
    <message>
        <source>unexpected eof while reading</source>
        <translation>nieoczekiwany koniec połączenia podczas odczytu</translation>
    </message>
</context>
</TS>
