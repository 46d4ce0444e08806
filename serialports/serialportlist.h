#pragma once

#include "serialportentry.h"

#include <QVector>

// Source of the machine's serial ports; tests hand in a list of their own.
class SerialPortList
{
public:
    virtual ~SerialPortList() = default;
    // Every serial port the system reports, in the system's order.
    virtual QVector<SerialPortEntry> availablePorts() const = 0;
};
