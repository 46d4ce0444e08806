// Qt keeps its busy test (the UUCP lock file of the port, naming a live
// process) behind its deprecation switch; this file alone asks for it.
#undef QT_DISABLE_DEPRECATED_BEFORE
#define QT_DISABLE_DEPRECATED_BEFORE 0x050500

#include "systemserialportlist.h"

#include <QSerialPortInfo>

QVector<SerialPortEntry> SystemSerialPortList::availablePorts() const
{
    QVector<SerialPortEntry> entries;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports) {
        SerialPortEntry entry;
        entry.portName = port.portName();
        entry.systemLocation = port.systemLocation();
        entry.manufacturer = port.manufacturer();
        entry.description = port.description();
        entry.serialNumber = port.serialNumber();
        entry.busy = port.isBusy();
        entries.append(entry);
    }
    return entries;
}
