<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>FD_MACRO_CLEAR_COUNTERS</name>
    <message>
        <source>Clear counters</source>
        <translation>Kasowanie liczników</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Counters to be reset</source>
        <translation>Liczniki do skasowania</translation>
    </message>
    <message>
        <source>All event counters</source>
        <translation>Wszystkie liczniki zdarzeń</translation>
    </message>
    <message>
        <source>Selected event counters</source>
        <translation>Wybrane liczniki zdarzeń</translation>
    </message>
    <message>
        <source>All measurement counters</source>
        <translation>Wszystkie liczniki pomiarowe</translation>
    </message>
    <message>
        <source>Cumulated current counters</source>
        <translation>Liczniki sumy prądów</translation>
    </message>
    <message>
        <source>Energy counters</source>
        <translation>Liczniki energii</translation>
    </message>
    <message>
        <source>Engine start counters</source>
        <translation>Liczniki rozruchów silnika</translation>
    </message>
    <message>
        <source>Operation time [h:m]</source>
        <translation>Czas pracy [h:m]</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_CLEAR_SIGNALS</name>
    <message>
        <source>Clear alarms</source>
        <translation>Kasowanie alarmów</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Pole</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Polecenie</translation>
    </message>
    <message>
        <source>Trip</source>
        <translation>Wyłączenie</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Interlock</source>
        <translation>Blokada</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_CONTROL_SWITCH</name>
    <message>
        <source>Switch control</source>
        <translation>Sterowanie łącznikiem</translation>
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
        <source>NONE</source>
        <translation>BRAK</translation>
    </message>
    <message>
        <source>BREAKER</source>
        <translation>WYŁĄCZNIK</translation>
    </message>
    <message>
        <source>CONTACTOR</source>
        <translation>STYCZNIK</translation>
    </message>
    <message>
        <source>DISCONNECTOR</source>
        <translation>ODŁĄCZNIK</translation>
    </message>
    <message>
        <source>EARTHING</source>
        <translation>UZIEMNIK</translation>
    </message>
    <message>
        <source>TRUCK</source>
        <translation>WÓZEK</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Numer</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Polecenie</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otwórz</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_LOGIN</name>
    <message>
        <source>Login</source>
        <translation>Logowanie</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>User number</source>
        <translation>Numer użytkownika</translation>
    </message>
    <message>
        <source>Non-logged in user</source>
        <translation>Użytkownik niezalogowany</translation>
    </message>
    <message>
        <source>User 1</source>
        <translation>Użytkownik 1</translation>
    </message>
    <message>
        <source>User 2</source>
        <translation>Użytkownik 2</translation>
    </message>
    <message>
        <source>User 3</source>
        <translation>Użytkownik 3</translation>
    </message>
    <message>
        <source>User 4</source>
        <translation>Użytkownik 4</translation>
    </message>
    <message>
        <source>User 5</source>
        <translation>Użytkownik 5</translation>
    </message>
    <message>
        <source>User 6</source>
        <translation>Użytkownik 6</translation>
    </message>
    <message>
        <source>User 7</source>
        <translation>Użytkownik 7</translation>
    </message>
    <message>
        <source>User 8</source>
        <translation>Użytkownik 8</translation>
    </message>
    <message>
        <source>User 9</source>
        <translation>Użytkownik 9</translation>
    </message>
    <message>
        <source>User 10</source>
        <translation>Użytkownik 10</translation>
    </message>
    <message>
        <source>Administrator</source>
        <translation>Administrator</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Serwis</translation>
    </message>
    <message>
        <source>Producer</source>
        <translation>Producent</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Hasło</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_LOGOUT</name>
    <message>
        <source>LOGOUT</source>
        <translation>WYLOGOWANIE</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET</name>
    <message>
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Specifcation</source>
        <translation>Specyfikacja</translation>
    </message>
    <message>
        <source>Params</source>
        <translation>Liczba parametrów</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_ACTIVE_PROFILE</name>
    <message>
        <source>Active profile</source>
        <translation>Aktywny profil</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Numer</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_ACTIVE_SETOFSETTINGS</name>
    <message>
        <source>Active set of settings</source>
        <translation>Aktywny zestaw nastaw</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Set of settings</source>
        <translation>Zestaw nastaw</translation>
    </message>
    <message>
        <source>Settings 1</source>
        <translation>Nastawy 1</translation>
    </message>
    <message>
        <source>Settings 2</source>
        <translation>Nastawy 2</translation>
    </message>
    <message>
        <source>Settings 3</source>
        <translation>Nastawy 3</translation>
    </message>
    <message>
        <source>Settings 4</source>
        <translation>Nastawy 4</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_CONTROL_LR</name>
    <message>
        <source>Device control location</source>
        <translation>Miejsce sterowania urządzeniem</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Allowed control modes</source>
        <translation>Dozwolone tryby sterowania</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Lokalne</translation>
    </message>
    <message>
        <source>Remote</source>
        <translation>Zdalne</translation>
    </message>
    <message>
        <source>Local and remote</source>
        <translation>Lokalne i zdalne</translation>
    </message>
    <message>
        <source>Autonomous control</source>
        <translation>Sterowanie autonomiczne</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_DATE_TIME</name>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_IP</name>
    <message>
        <source>IP address</source>
        <translation>Adres IP</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM number</source>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>COM S</source>
        <translation>COM S</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>User Interface</source>
        <translation>Interfejs użytkownika</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>First byte of IP address</source>
        <translation>Pierwszy bajt adresu IP</translation>
    </message>
    <message>
        <source>Second byte of IP address</source>
        <translation>Drugi bajt adresu IP</translation>
    </message>
    <message>
        <source>Third byte of IP address</source>
        <translation>Trzeci bajt adresu IP</translation>
    </message>
    <message>
        <source>Fourth byte of IP address</source>
        <translation>Czwarty bajt adresu IP</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
    <message>
        <source>IP mask</source>
        <translation>Maska IP</translation>
    </message>
    <message>
        <source>First byte of IP mask</source>
        <translation>Pierwszy bajt maski IP</translation>
    </message>
    <message>
        <source>Second byte of IP mask</source>
        <translation>Drugi bajt maski IP</translation>
    </message>
    <message>
        <source>Third byte of IP mask</source>
        <translation>Trzeci bajt maski IP</translation>
    </message>
    <message>
        <source>Fourth byte of IP mask</source>
        <translation>Czwarty bajt maski IP</translation>
    </message>
    <message>
        <source>IP gateway</source>
        <translation>Brama IP</translation>
    </message>
    <message>
        <source>First byte of IP gateway</source>
        <translation>Pierwszy bajt bramy IP</translation>
    </message>
    <message>
        <source>Second byte of IP gateway</source>
        <translation>Drugi bajt bramy IP</translation>
    </message>
    <message>
        <source>Third byte of IP gateway</source>
        <translation>Trzeci bajt bramy IP</translation>
    </message>
    <message>
        <source>Fourth byte of IP gateway</source>
        <translation>Czwarty bajt bramy IP</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_PASSWORD_TIME</name>
    <message>
        <source>Auto-logout time</source>
        <translation>Czas automatycznego wylogowania</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM number</source>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>COM S</source>
        <translation>COM S</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>User Interface</source>
        <translation>Interfejs użytkownika</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Czas</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_PORT_ADDRESS</name>
    <message>
        <source>Port address</source>
        <translation>Adres portu</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM number</source>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>COM S</source>
        <translation>COM S</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>User Interface</source>
        <translation>Interfejs użytkownika</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adres</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_PORT_PROTOCOL</name>
    <message>
        <source>Port protocol</source>
        <translation>Protokół portu</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM number</source>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>COM S</source>
        <translation>COM S</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>User Interface</source>
        <translation>Interfejs użytkownika</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protokół</translation>
    </message>
    <message>
        <source>NONE</source>
        <translation>BRAK</translation>
    </message>
    <message>
        <source>MODBUS RTU</source>
        <translation>MODBUS RTU</translation>
    </message>
    <message>
        <source>IEC 60870-5-103</source>
        <translation>IEC 60870-5-103</translation>
    </message>
    <message>
        <source>MODBUS TCP</source>
        <translation>MODBUS TCP</translation>
    </message>
    <message>
        <source>IEC 61850</source>
        <translation>IEC 61850</translation>
    </message>
    <message>
        <source>Protocol inside device</source>
        <translation>Protokół wewnętrzny urządzenia</translation>
    </message>
    <message>
        <source>TKP2</source>
        <translation>TKP2</translation>
    </message>
    <message>
        <source>IEC 60870-5-101</source>
        <translation>IEC 60870-5-101</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_PORT_SETTINGS</name>
    <message>
        <source>Port settings</source>
        <translation>Ustawienia portu</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM number</source>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>COM S</source>
        <translation>COM S</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>User Interface</source>
        <translation>Interfejs użytkownika</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Prędkość</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>230400</source>
        <translation>230400</translation>
    </message>
    <message>
        <source>460800</source>
        <translation>460800</translation>
    </message>
    <message>
        <source>921600</source>
        <translation>921600</translation>
    </message>
    <message>
        <source>1228800</source>
        <translation>1228800</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parzystość</translation>
    </message>
    <message>
        <source>NONE</source>
        <translation>BRAK</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Nieparzysta</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Parzysta</translation>
    </message>
    <message>
        <source>Stop bit</source>
        <translation>Bit stopu</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_PORT_TIMEOUT</name>
    <message>
        <source>Port timeout</source>
        <translation>Limit czasu portu</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>COM number</source>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>COM S</source>
        <translation>COM S</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>User Interface</source>
        <translation>Interfejs użytkownika</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Czas</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_USER_COMMANDS</name>
    <message>
        <source>User command</source>
        <translation>Polecenie użytkownika</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Numer</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_USER_PRIVILEGES</name>
    <message>
        <source>User privileges</source>
        <translation>Uprawnienia użytkownika</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>User number</source>
        <translation>Numer użytkownika</translation>
    </message>
    <message>
        <source>Non-logged in user</source>
        <translation>Użytkownik niezalogowany</translation>
    </message>
    <message>
        <source>User 1</source>
        <translation>Użytkownik 1</translation>
    </message>
    <message>
        <source>User 2</source>
        <translation>Użytkownik 2</translation>
    </message>
    <message>
        <source>User 3</source>
        <translation>Użytkownik 3</translation>
    </message>
    <message>
        <source>User 4</source>
        <translation>Użytkownik 4</translation>
    </message>
    <message>
        <source>User 5</source>
        <translation>Użytkownik 5</translation>
    </message>
    <message>
        <source>User 6</source>
        <translation>Użytkownik 6</translation>
    </message>
    <message>
        <source>User 7</source>
        <translation>Użytkownik 7</translation>
    </message>
    <message>
        <source>User 8</source>
        <translation>Użytkownik 8</translation>
    </message>
    <message>
        <source>User 9</source>
        <translation>Użytkownik 9</translation>
    </message>
    <message>
        <source>User 10</source>
        <translation>Użytkownik 10</translation>
    </message>
    <message>
        <source>Administrator</source>
        <translation>Administrator</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Serwis</translation>
    </message>
    <message>
        <source>Producer</source>
        <translation>Producent</translation>
    </message>
    <message>
        <source>Prev_1</source>
        <translation>Upr_1</translation>
    </message>
    <message>
        <source>Prev_2</source>
        <translation>Upr_2</translation>
    </message>
    <message>
        <source>Prev_3</source>
        <translation>Upr_3</translation>
    </message>
    <message>
        <source>Prev_4</source>
        <translation>Upr_4</translation>
    </message>
    <message>
        <source>Prev_5</source>
        <translation>Upr_5</translation>
    </message>
    <message>
        <source>Prev_6</source>
        <translation>Upr_6</translation>
    </message>
    <message>
        <source>Prev_7</source>
        <translation>Upr_7</translation>
    </message>
    <message>
        <source>Prev_8</source>
        <translation>Upr_8</translation>
    </message>
    <message>
        <source>Prev_9</source>
        <translation>Upr_9</translation>
    </message>
    <message>
        <source>Prev_10</source>
        <translation>Upr_10</translation>
    </message>
    <message>
        <source>Prev_11</source>
        <translation>Upr_11</translation>
    </message>
    <message>
        <source>Prev_12</source>
        <translation>Upr_12</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
<context>
    <name>FD_MACRO_SET_WORK_MODE</name>
    <message>
        <source>Work mode</source>
        <translation>Tryb pracy</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Tryb</translation>
    </message>
    <message>
        <source>NONE</source>
        <translation>BRAK</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Serwisowy</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normalny</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Testowy</translation>
    </message>
    <message>
        <source>Compact</source>
        <translation>Kompaktowy</translation>
    </message>
    <message>
        <source>Desc</source>
        <translation>Opis</translation>
    </message>
</context>
</TS>
