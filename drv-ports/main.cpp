// qelDrvPorts: lists the serial ports of the machine, one line per port, with
// the FTDI adapter's own description for ports of FTDI adapters, and ends
// with status 0. It takes no options: an argument that names one is refused
// (status -1), so a filter it does not have is never taken as applied.

#include "checks.h"
#include "libftdidevicelist.h"
#include "portlister.h"
#include "reportprinter.h"
#include "systemserialportlist.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    keepRunningWhenOutputCloses();
    QCoreApplication app(argc, argv);
    if (Checks::printUnknownOptions(Checks::unknownOptions(app.arguments(), {}, {})))
        return -1;
    const SystemSerialPortList ports;
    LibFtdiDeviceList ftdiDevices;
    const PortLister lister(ports, ftdiDevices);
    const QStringList lines = lister.reportLines();
    for (const QString &line : lines)
        printReport(line);
    return 0;
}
