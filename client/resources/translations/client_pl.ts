<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>addRTUPort</name>
    <message>
        <source>Connection</source>
        <translation>Połączenie</translation>
    </message>
    <message>
        <source>Keep the line open</source>
        <translation>Utrzymuj połączenie</translation>
    </message>
    <message>
        <source>One driver keeps the line open for every request, instead of opening it for each one</source>
        <translation>Jeden sterownik utrzymuje połączenie dla wszystkich zapytań zamiast otwierać je dla każdego</translation>
    </message>
    <message>
        <source>RTUPort</source>
        <translation>Port RTU</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM</source>
        <translation>COM</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>Prędkość</translation>
    </message>
    <message>
        <source>Slave address</source>
        <translation>Adres urządzenia</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
    <message>
        <source>Framing</source>
        <translation>Format ramki</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Bity danych</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parzystość</translation>
    </message>
</context>
<context>
    <name>addReadData</name>
    <message>
        <source>ReadData</source>
        <translation>Odczyt danych</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Rodzaj</translation>
    </message>
    <message>
        <source>Byte order</source>
        <translation>Kolejność bajtów</translation>
    </message>
    <message>
        <source>Bytes of 32- and 64-bit values from the lowest register on, A the most significant</source>
        <translation>Bajty wartości 32- i 64-bitowych od najniższego rejestru, A najstarszy</translation>
    </message>
    <message>
        <source>Registers</source>
        <translation>Rejestry</translation>
    </message>
    <message>
        <source>Registers of a text, two characters each</source>
        <translation>Rejestry tekstu, po dwa znaki w każdym</translation>
    </message>
</context>
<context>
    <name>addTCPPort</name>
    <message>
        <source>Connection</source>
        <translation>Połączenie</translation>
    </message>
    <message>
        <source>Keep the line open</source>
        <translation>Utrzymuj połączenie</translation>
    </message>
    <message>
        <source>One driver keeps the line open for every request, instead of opening it for each one</source>
        <translation>Jeden sterownik utrzymuje połączenie dla wszystkich zapytań zamiast otwierać je dla każdego</translation>
    </message>
    <message>
        <source>TCPPort</source>
        <translation>Port TCP</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Slave address</source>
        <translation>Adres urządzenia</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
    <message>
        <source>Framing</source>
        <translation>Format ramki</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Zabezpieczenie</translation>
    </message>
    <message>
        <source>TLS (Modbus/TCP Security)</source>
        <translation>TLS (zabezpieczony Modbus/TCP)</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>Certyfikat</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Klucz</translation>
    </message>
    <message>
        <source>CA</source>
        <translation>CA</translation>
    </message>
    <message>
        <source>Choose the client certificate</source>
        <translation>Wybierz certyfikat klienta</translation>
    </message>
    <message>
        <source>Choose the client private key</source>
        <translation>Wybierz klucz prywatny klienta</translation>
    </message>
    <message>
        <source>Choose the certificates of the authorities</source>
        <translation>Wybierz certyfikaty urzędów certyfikacji</translation>
    </message>
    <message>
        <source>Client certificate</source>
        <translation>Certyfikat klienta</translation>
    </message>
    <message>
        <source>Client private key</source>
        <translation>Klucz prywatny klienta</translation>
    </message>
    <message>
        <source>Certificates of the authorities</source>
        <translation>Certyfikaty urzędów certyfikacji</translation>
    </message>
    <message>
        <source>PEM files (*.pem *.crt *.key);;All files (*)</source>
        <translation>Pliki PEM (*.pem *.crt *.key);;Wszystkie pliki (*)</translation>
    </message>
</context>
<context>
    <name>addWriteData</name>
    <message>
        <source>WriteData</source>
        <translation>Zapis danych</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wartość</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Rodzaj</translation>
    </message>
    <message>
        <source>Byte order</source>
        <translation>Kolejność bajtów</translation>
    </message>
    <message>
        <source>Bytes of 32- and 64-bit values from the lowest register on, A the most significant</source>
        <translation>Bajty wartości 32- i 64-bitowych od najniższego rejestru, A najstarszy</translation>
    </message>
    <message>
        <source>Registers</source>
        <translation>Rejestry</translation>
    </message>
    <message>
        <source>Registers of a text, two characters each</source>
        <translation>Rejestry tekstu, po dwa znaki w każdym</translation>
    </message>
    <message>
        <source>Function 6 (one register)</source>
        <translation>Funkcja 6 (jeden rejestr)</translation>
    </message>
    <message>
        <source>For devices that refuse function 16 for a single register</source>
        <translation>Dla urządzeń, które odrzucają funkcję 16 dla jednego rejestru</translation>
    </message>
</context>
<context>
    <name>macroElement</name>
    <message>
        <source>Run</source>
        <translation>Wykonaj</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edytuj</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Usuń</translation>
    </message>
</context>
<context>
    <name>readElement</name>
    <message>
        <source>Run</source>
        <translation>Wykonaj</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edytuj</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Usuń</translation>
    </message>
</context>
<context>
    <name>rtuElement</name>
    <message>
        <source>Make this port the active one</source>
        <translation>Ustaw ten port jako aktywny</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edytuj</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Usuń</translation>
    </message>
</context>
<context>
    <name>tcpElement</name>
    <message>
        <source>Make this port the active one</source>
        <translation>Ustaw ten port jako aktywny</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edytuj</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Usuń</translation>
    </message>
</context>
<context>
    <name>writeData</name>
    <message>
        <source>WriteData</source>
        <translation>Zapis danych</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wartość</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Rodzaj</translation>
    </message>
    <message>
        <source>Byte order</source>
        <translation>Kolejność bajtów</translation>
    </message>
    <message>
        <source>Bytes of 32- and 64-bit values from the lowest register on, A the most significant</source>
        <translation>Bajty wartości 32- i 64-bitowych od najniższego rejestru, A najstarszy</translation>
    </message>
    <message>
        <source>Registers</source>
        <translation>Rejestry</translation>
    </message>
    <message>
        <source>Registers of a text, two characters each</source>
        <translation>Rejestry tekstu, po dwa znaki w każdym</translation>
    </message>
    <message>
        <source>Function 6 (one register)</source>
        <translation>Funkcja 6 (jeden rejestr)</translation>
    </message>
    <message>
        <source>For devices that refuse function 16 for a single register</source>
        <translation>Dla urządzeń, które odrzucają funkcję 16 dla jednego rejestru</translation>
    </message>
</context>
<context>
    <name>writeElement</name>
    <message>
        <source>Run</source>
        <translation>Wykonaj</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edytuj</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Usuń</translation>
    </message>
    <message>
        <source> fn 6</source>
        <translation> fn 6</translation>
    </message>
</context>
<context>
    <name>projectElement</name>
    <message>
        <source>Asking</source>
        <translation>Pytanie</translation>
    </message>
    <message>
        <source>Del current object ?</source>
        <translation>Usunąć bieżący obiekt ?</translation>
    </message>
</context>
<context>
    <name>userPrompts</name>
    <message>
        <source>Select macro</source>
        <translation>Wybierz makro</translation>
    </message>
    <message>
        <source>Macro:</source>
        <translation>Makro:</translation>
    </message>
    <message>
        <source>Select language</source>
        <translation>Wybierz język</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Informacja</translation>
    </message>
    <message>
        <source>Please restart the application to change language</source>
        <translation>Proszę uruchomić aplikację ponownie, aby zmienić język</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>tak</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nie</translation>
    </message>
    <message>
        <source>Select verbose</source>
        <translation>Tryb szczegółowy</translation>
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
        <source>Yes</source>
        <translation>Tak</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Set project name</source>
        <translation>Ustaw nazwę projektu</translation>
    </message>
    <message>
        <source>Project name:</source>
        <translation>Nazwa projektu:</translation>
    </message>
    <message>
        <source>Project name ?</source>
        <translation>Nazwa projektu ?</translation>
    </message>
    <message>
        <source>Project name already use</source>
        <translation>Nazwa projektu już używana</translation>
    </message>
</context>
<context>
    <name>registerTypes</name>
    <message>
        <source>Holding register</source>
        <translation>Rejestr holding</translation>
    </message>
    <message>
        <source>Input register</source>
        <translation>Rejestr wejściowy</translation>
    </message>
    <message>
        <source>Coil</source>
        <translation>Cewka</translation>
    </message>
    <message>
        <source>Discrete input</source>
        <translation>Wejście dyskretne</translation>
    </message>
    <message>
        <source>Holding</source>
        <translation>Holding</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Wejście</translation>
    </message>
    <message>
        <source>Discrete</source>
        <translation>Dyskretne</translation>
    </message>
</context>
<context>
    <name>valueFields</name>
    <message>
        <source>&quot;%1&quot; holds a control character (U+%2)</source>
        <translation>&quot;%1&quot; zawiera znak sterujący (U+%2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; begins with &quot;--&quot;, which a driver would take for an option</source>
        <translation>&quot;%1&quot; zaczyna się od &quot;--&quot;, co program sterownika uznałby za opcję</translation>
    </message>
</context>
<context>
    <name>projectLists</name>
    <message>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true lub false</translation>
    </message>
    <message>
        <source>a number</source>
        <translation>liczba</translation>
    </message>
    <message>
        <source>an empty text</source>
        <translation>pusty tekst</translation>
    </message>
    <message>
        <source>a text</source>
        <translation>tekst</translation>
    </message>
    <message>
        <source>a list</source>
        <translation>lista</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>obiekt</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nic</translation>
    </message>
    <message>
        <source>&quot;type&quot; must be a text, not %1</source>
        <translation>&quot;type&quot; musi być tekstem, a jest to: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a text, not %2</source>
        <translation>&quot;%1&quot; musi być tekstem, a jest to: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be true or false, not %2</source>
        <translation>&quot;%1&quot; musi mieć wartość true lub false, a jest to: %2</translation>
    </message>
    <message>
        <source>The project has no &quot;name&quot;; its name, a text that is not empty, is expected</source>
        <translation>Projekt nie ma klucza &quot;name&quot;; oczekiwana jest jego nazwa, niepusty tekst</translation>
    </message>
    <message>
        <source>&quot;name&quot; must be a text that is not empty, not %1</source>
        <translation>&quot;name&quot; musi być niepustym tekstem, a jest to: %1</translation>
    </message>
    <message>
        <source>&quot;name&quot; holds a control character</source>
        <translation>&quot;name&quot; zawiera znak sterujący</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a list of rows, not %2</source>
        <translation>&quot;%1&quot; musi być listą wierszy, a jest to: %2</translation>
    </message>
    <message>
        <source>a row must be an object, not %1</source>
        <translation>wiersz musi być obiektem, a jest to: %1</translation>
    </message>
    <message>
        <source>Row %1 of &quot;%2&quot;: %3</source>
        <translation>Wiersz %1 w &quot;%2&quot;: %3</translation>
    </message>
</context>
<context>
    <name>projectDocument</name>
    <message>
        <source>%1, row %2: %3</source>
        <translation>%1, wiersz %2: %3</translation>
    </message>
</context>
</TS>
