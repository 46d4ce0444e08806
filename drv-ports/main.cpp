// qelDrvPorts: lists the serial ports of the machine, one line per port, with
// the FTDI adapter's own description for ports of FTDI adapters, and ends
// with status 0. It reads no options.

#include "libftdidevicelist.h"
#include "portlister.h"
#include "reportprinter.h"
#include "systemserialportlist.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    keepRunningWhenOutputCloses();
    QCoreApplication app(argc, argv);
    const SystemSerialPortList ports;
    LibFtdiDeviceList ftdiDevices;
    const PortLister lister(ports, ftdiDevices);
    const QStringList lines = lister.reportLines();
    for (const QString &line : lines)
        printReport(line);
    return 0;
}
