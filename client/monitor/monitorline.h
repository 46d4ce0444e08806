#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The serial line a monitor listens to and how it is set: the port, its
// rate, parity, data and stop bits, and the framing.
struct monitorLine
{
    QString port; // a port's name as the system lists it ("ttyUSB0") or a path
    int baudRate = 115200;
    char parity = 'N'; // 'N', 'E' or 'O'
    int dataBits = 8; // 7 only with ASCII
    int stopBits = 1;
    bool ascii = false;

    // The device as the drivers name it: a port's name in the Windows device
    // namespace ("\\.\ttyUSB0"), a path (one with a slash) as it is.
    QString device() const;
    // qelDrvMonitor's arguments for this line, with its CSV rows on standard
    // output.
    QStringList arguments() const;
    // Whether device, a device as the drivers name it, is this line, under
    // whatever name (a link such as /dev/serial/by-id/...).
    bool isDevice(const QString &device) const;

    // The rates the monitor runs a line at, in ascending order.
    static QList<int> baudRates();
};
