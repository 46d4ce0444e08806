#include "portlister.h"

#include "ftdidevicelist.h"
#include "serialportlist.h"

#include "translationcontext.h"

#include <algorithm>

namespace {

constexpr TranslationContext tr("PortLister");

// Characters of the port's serial number that identify its adapter.
constexpr int FtdiKeyLength = 8;

} // namespace

PortLister::PortLister(const SerialPortList &ports, FtdiDeviceList &ftdiDevices)
    : ports(ports)
    , ftdiDevices(ftdiDevices)
{ }

QStringList PortLister::reportLines() const
{
    QStringList lines;
    lines.append(tr("Ports ...") + "<br>");

    QVector<SerialPortEntry> sorted = ports.availablePorts();
    // Plain string comparison: COM10 comes before COM2.
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const SerialPortEntry &a, const SerialPortEntry &b) { return a.portName < b.portName; });
    for (const SerialPortEntry &port : qAsConst(sorted))
        lines.append(portLine(port));

    // The system is asked again whether it has any port at all.
    if (ports.availablePorts().isEmpty())
        lines.append(tr("no available ports in the system") + "<br>");
    lines.append(tr("done.") + "<br>");
    return lines;
}

QString PortLister::portLine(const SerialPortEntry &port) const
{
    QString line = "&nbsp;&nbsp;" + port.portName + "&nbsp;[" + port.systemLocation + "]&nbsp;";
    line += "[" + port.manufacturer + "]&nbsp;";
    const QString description = port.manufacturer.contains(QLatin1String("FTDI"))
        ? ftdiDescription(port.serialNumber)
        : port.description;
    line += "[" + description + "]&nbsp;";
    line += "[" + port.serialNumber + "]&nbsp;";
    if (port.busy)
        line += QStringLiteral("[&nbsp;!!!&nbsp;BUSY&nbsp;!!!&nbsp;]");
    return line + "<br>";
}

QString PortLister::ftdiDescription(const QString &portSerialNumber) const
{
    const QString key = portSerialNumber.left(FtdiKeyLength);
    QVector<FtdiDeviceRecord> records;
    if (!ftdiDevices.deviceRecords(&records))
        return QString();
    QString description;
    for (const FtdiDeviceRecord &record : qAsConst(records)) {
        if (!record.serialNumber.isEmpty() && record.serialNumber.startsWith(key))
            description = record.description;
    }
    return description;
}
