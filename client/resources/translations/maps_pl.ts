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
</TS>
