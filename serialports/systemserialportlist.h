#pragma once

#include "serialportlist.h"

// The machine's serial ports as Qt's port information reports them.
class SystemSerialPortList : public SerialPortList
{
public:
    QVector<SerialPortEntry> availablePorts() const override;
};
