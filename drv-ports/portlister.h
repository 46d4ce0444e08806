#pragma once

#include "serialportentry.h"

#include <QString>
#include <QStringList>

class FtdiDeviceList;
class SerialPortList;

// Composes the report of qelDrvPorts: one markup line per serial port of the
// machine, sorted by port name, with the FTDI adapter's own description for
// ports of FTDI adapters, and the closing lines.
class PortLister
{
public:
    // Both sources are borrowed for the lister's lifetime.
    PortLister(const SerialPortList &ports, FtdiDeviceList &ftdiDevices);

    // Every line of the report in order, each ending with "<br>": "Ports ...",
    // the port lines, "no available ports in the system" when there is no
    // port, and "done.".
    QStringList reportLines() const;
    // The line of one port: name, [location], [manufacturer], [description],
    // [serial number] and the busy mark.
    QString portLine(const SerialPortEntry &port) const;
    // Description of the FTDI adapter whose serial number begins with the
    // first 8 characters of the port's; the last such adapter wins. Empty
    // when no adapter matches or the adapter list cannot be had.
    QString ftdiDescription(const QString &portSerialNumber) const;

private:
    const SerialPortList &ports;
    FtdiDeviceList &ftdiDevices;
};
