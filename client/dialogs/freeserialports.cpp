// Qt keeps its busy test (the lock file of the port, naming a live process)
// behind its deprecation switch; this file alone asks for it.
#undef QT_DISABLE_DEPRECATED_BEFORE
#define QT_DISABLE_DEPRECATED_BEFORE 0x050500

#include "freeserialports.h"

#include <QSerialPortInfo>

#include <algorithm>

QStringList freeSerialPorts()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        if (!port.isBusy())
            names << port.portName();
    std::sort(names.begin(), names.end());
    return names;
}
