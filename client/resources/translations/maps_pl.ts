<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>driverCommand</name>
    <message>
        <source>Not run: %1</source>
        <translation>Nie uruchomiono: %1</translation>
    </message>
    
    
</context>
<context>
    <name>engineeringScale</name>
    <message>
        <source>a value of type %1 has no scale, offset or unit</source>
        <translation>wartość typu %1 nie ma skali, przesunięcia ani jednostki</translation>
    </message>
    <message>
        <source>the scale %1 is not a number</source>
        <translation>skala %1 nie jest liczbą</translation>
    </message>
    <message>
        <source>the scale must not be 0</source>
        <translation>skala nie może być 0</translation>
    </message>
    <message>
        <source>the offset %1 is not a number</source>
        <translation>przesunięcie %1 nie jest liczbą</translation>
    </message>
    <message>
        <source>%1 is not a number</source>
        <translation>%1 nie jest liczbą</translation>
    </message>
    <message>
        <source>%1 is not a whole raw value: (%1 − %2) / %3 has a fraction</source>
        <translation>%1 nie daje całkowitej wartości surowej: (%1 − %2) / %3 ma część ułamkową</translation>
    </message>
    <message>
        <source>%1 gives the raw value %2, outside %3 to %4 of %5</source>
        <translation>%1 daje wartość surową %2, poza zakresem %3 do %4 typu %5</translation>
    </message>
    <message>
        <source>%1 gives a raw value outside the range of %2</source>
        <translation>%1 daje wartość surową poza zakresem typu %2</translation>
    </message>
</context>
<context>
    <name>logLines</name>
    
    
    
    
    
    <message>
        <source>Import map</source>
        <translation>Import mapy</translation>
    </message>
    <message>
        <source>Export map</source>
        <translation>Eksport mapy</translation>
    </message>
</context>
<context>
    <name>mapCommands</name>
    <message>
        <source>Import register map…</source>
        <translation>Importuj mapę rejestrów…</translation>
    </message>
    <message>
        <source>Export register map…</source>
        <translation>Eksportuj mapę rejestrów…</translation>
    </message>
    <message>
        <source>Import register map</source>
        <translation>Import mapy rejestrów</translation>
    </message>
    <message>
        <source>Register maps (*.csv *.xlsx *.txt);;All files (*)</source>
        <translation>Mapy rejestrów (*.csv *.xlsx *.txt);;Wszystkie pliki (*)</translation>
    </message>
    <message>
        <source>Export register map</source>
        <translation>Eksport mapy rejestrów</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;Excel workbooks (*.xlsx)</source>
        <translation>Pliki CSV (*.csv);;Skoroszyty Excel (*.xlsx)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>Cannot write %1:
%2</source>
        <translation>Nie można zapisać %1:
%2</translation>
    </message>
    <message>
        <source>%1 (%2, device %3)</source>
        <translation>%1 (%2, urządzenie %3)</translation>
    </message>
</context>
<context>
    <name>mapLineReader</name>
    <message>
        <source>%1 does not have the chosen decimal mark</source>
        <translation>%1 nie ma wybranego znaku dziesiętnego</translation>
    </message>
    <message>
        <source>%1 is not a kind of register</source>
        <translation>%1 nie jest rodzajem rejestru</translation>
    </message>
    <message>
        <source>no address</source>
        <translation>brak adresu</translation>
    </message>
    <message>
        <source>%1 is not a 1-based address (40001 to 49999 or 400001 to 465536, 3xxxx, 0xxxx, 1xxxx)</source>
        <translation>%1 nie jest adresem liczonym od 1 (40001 do 49999 lub 400001 do 465536, 3xxxx, 0xxxx, 1xxxx)</translation>
    </message>
    <message>
        <source>%1 does not match the address %2 (%3)</source>
        <translation>%1 nie zgadza się z adresem %2 (%3)</translation>
    </message>
    <message>
        <source>%1 is not an address</source>
        <translation>%1 nie jest adresem</translation>
    </message>
    <message>
        <source>%1 is outside 0 to 65535</source>
        <translation>%1 jest poza zakresem 0 do 65535</translation>
    </message>
    <message>
        <source>%1 does not fit the kind %2</source>
        <translation>%1 nie pasuje do rodzaju %2</translation>
    </message>
    <message>
        <source>%1 is not a data type</source>
        <translation>%1 nie jest typem danych</translation>
    </message>
    <message>
        <source>%1 is not one of ABCD, BADC, CDAB, DCBA</source>
        <translation>%1 nie jest jednym z ABCD, BADC, CDAB, DCBA</translation>
    </message>
    <message>
        <source>a text needs its registers, 1 to %1, not &quot;%2&quot;</source>
        <translation>tekst wymaga liczby rejestrów od 1 do %1, a nie "%2"</translation>
    </message>
    <message>
        <source>%1 %2 at %3 ends beyond register 65535</source>
        <translation>%1 %2 pod adresem %3 kończy się za rejestrem 65535</translation>
    </message>
    <message>
        <source>%1 is not one of F_X, F_X_X, F_X_XX, F_X_XXX, F_X_XXXX</source>
        <translation>%1 nie jest jednym z F_X, F_X_X, F_X_XX, F_X_XXX, F_X_XXXX</translation>
    </message>
    <message>
        <source>a format applies to whole-number types only, not %1</source>
        <translation>format dotyczy tylko typów całkowitych, nie %1</translation>
    </message>
    <message>
        <source>%1 is not one of R, W, RW</source>
        <translation>%1 nie jest jednym z R, W, RW</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>%1 nie może być zapisywany</translation>
    </message>
    <message>
        <source>a coil takes 0 or 1, not %1</source>
        <translation>cewka przyjmuje 0 lub 1, nie %1</translation>
    </message>
    <message>
        <source>the text is longer than its %1 registers</source>
        <translation>tekst jest dłuższy niż jego %1 rejestrów</translation>
    </message>
    <message>
        <source>%1 is not function 6 or 16</source>
        <translation>%1 nie jest funkcją 6 ani 16</translation>
    </message>
    <message>
        <source>function 6 writes a single U16 or S16 holding register</source>
        <translation>funkcja 6 zapisuje pojedynczy rejestr holding U16 lub S16</translation>
    </message>
</context>
<context>
    <name>mapProblem</name>
    <message>
        <source>Line %1</source>
        <translation>Wiersz %1</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Plik</translation>
    </message>
</context>
<context>
    <name>registerMapFile</name>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 nie istnieje</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 jest folderem</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 nie jest zwykłym plikiem</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MiB</source>
        <translation>%1 jest większy niż %2 MiB</translation>
    </message>
    <message>
        <source>%1 is not a readable workbook: %2</source>
        <translation>%1 nie jest czytelnym skoroszytem: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>nie można odczytać %1: %2</translation>
    </message>
    <message>
        <source>separator &quot;%1&quot;, %2</source>
        <translation>separator "%1", %2</translation>
    </message>
</context>
<context>
    <name>registerMapPreview</name>
    <message>
        <source>Import register map</source>
        <translation>Import mapy rejestrów</translation>
    </message>
    <message>
        <source>Detect</source>
        <translation>Wykryj</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Przecinek</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Średnik</translation>
    </message>
    <message>
        <source>Point or comma</source>
        <translation>Kropka lub przecinek</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>Kropka</translation>
    </message>
    <message>
        <source>0-based, decimal or 0x hex</source>
        <translation>od 0, dziesiętnie lub szesnastkowo 0x</translation>
    </message>
    <message>
        <source>1-based, 4xxxx 3xxxx 0xxxx 1xxxx</source>
        <translation>od 1, 4xxxx 3xxxx 0xxxx 1xxxx</translation>
    </message>
    <message>
        <source>no port is active</source>
        <translation>żaden port nie jest aktywny</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Plik</translation>
    </message>
    <message>
        <source>Active port</source>
        <translation>Aktywny port</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kodowanie</translation>
    </message>
    <message>
        <source>Decimal mark</source>
        <translation>Znak dziesiętny</translation>
    </message>
    <message>
        <source>Addresses</source>
        <translation>Adresy</translation>
    </message>
    <message>
        <source>Read as</source>
        <translation>Odczytano jako</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Wiersz</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Dostęp</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nazwa</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Rodzaj</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Skala</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Przesunięcie</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Jednostka</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Dodaj</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>workbook, first worksheet</source>
        <translation>skoroszyt, pierwszy arkusz</translation>
    </message>
    <message>
        <source>To be added: %1 reads, %2 writes.</source>
        <translation>Do dodania: odczyty %1, zapisy %2.</translation>
    </message>
    <message>
        <source>Lines that cannot be added: %1.</source>
        <translation>Wiersze, których nie można dodać: %1.</translation>
    </message>
    <message>
        <source>read</source>
        <translation>odczyt</translation>
    </message>
    <message>
        <source>write %1</source>
        <translation>zapis %1</translation>
    </message>
</context>
<context>
    <name>registerMapReader</name>
    <message>
        <source>the map is empty</source>
        <translation>mapa jest pusta</translation>
    </message>
    <message>
        <source>no header: the first line names no address column (address, adres, register, rejestr)</source>
        <translation>brak nagłówka: pierwszy wiersz nie nazywa kolumny adresu (address, adres, register, rejestr)</translation>
    </message>
    <message>
        <source>a map holds at most %1 lines; this line and those after it are not read</source>
        <translation>mapa może mieć najwyżej %1 wierszy; ten wiersz i następne nie zostały odczytane</translation>
    </message>
    <message>
        <source>%1 is already the name on line %2</source>
        <translation>%1 jest już nazwą w wierszu %2</translation>
    </message>
    <message>
        <source>registers %1 to %2 overlap those of %3 on line %4</source>
        <translation>rejestry %1 do %2 nakładają się na rejestry %3 z wiersza %4</translation>
    </message>
    <message>
        <source>the request</source>
        <translation>żądania</translation>
    </message>
</context>
<context>
    <name>scalingFields</name>
    <message>
        <source>Engineering value</source>
        <translation>Wartość inżynierska</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Skala</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Przesunięcie</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Jednostka</translation>
    </message>
    <message>
        <source>Shown value = raw value × scale + offset</source>
        <translation>Wartość pokazywana = wartość surowa × skala + przesunięcie</translation>
    </message>
</context>
<context>
    <name>xlsxMapTable</name>
    <message>
        <source>the workbook has no worksheet</source>
        <translation>skoroszyt nie ma arkusza</translation>
    </message>
</context>
</TS>
