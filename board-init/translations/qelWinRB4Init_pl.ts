<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>MainWindow</name>
    <message>
        <source>RB4 Init</source>
        <translation>RB4 Init</translation>
    </message>
    <message>
        <source>Data i czas</source>
        <translation>Data i czas</translation>
    </message>
    <message>
        <source>Set date</source>
        <translation>Ustaw datę</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numer seryjny</translation>
    </message>
    <message>
        <source>Redmine number</source>
        <translation>Numer Redmine</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Ustaw</translation>
    </message>
    <message>
        <source>Webserwer</source>
        <translation>Webserwer</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopiuj</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Wybierz</translation>
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
        <source>View</source>
        <translation>Widok</translation>
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
        <source>Exit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Dziennik</translation>
    </message>
    <message>
        <source>Set openSSH</source>
        <translation>Ustaw openSSH</translation>
    </message>
    <message>
        <source>Set id</source>
        <translation>Ustaw klucz</translation>
    </message>
    <message>
        <source>Set ip</source>
        <translation>Ustaw IP</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
    <message>
        <source>The settings could not be saved.</source>
        <translation>Nie można zapisać ustawień.</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Otwórz plik</translation>
    </message>
    <message>
        <source>Set IP</source>
        <translation>Ustaw IP</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Ask</source>
        <translation>Pytanie</translation>
    </message>
    <message>
        <source>Do you want set date first ?</source>
        <translation>Czy najpierw ustawić datę ?</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>Wybierz plik</translation>
    </message>
    <message>
        <source>Select path where to copy</source>
        <translation>Wybierz ścieżkę, do której skopiować</translation>
    </message>
    <message>
        <source>Path:</source>
        <translation>Ścieżka:</translation>
    </message>
    <message>
        <source>Please wait ...</source>
        <translation>Proszę czekać ...</translation>
    </message>
</context>
</TS>
