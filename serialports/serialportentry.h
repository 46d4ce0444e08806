#pragma once

#include <QString>

// What the system tells about one serial port.
struct SerialPortEntry
{
    QString portName;
    QString systemLocation;
    QString manufacturer;
    QString description;
    QString serialNumber;
    bool busy = false;
};
