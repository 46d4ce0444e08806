#include "monitorline.h"

#include "engine/rtusettings.h"
#include "engine/serialdevice.h"
#include "filenames.h"

#include <QFileInfo>

namespace {

// The file a device name opens, its links followed where it exists.
QString devicePath(const QString &device)
{
    const QString path = FileNames::fromBytes(
        QByteArray::fromStdString(Modbus::devicePath(FileNames::toBytes(device).toStdString())));
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

QString monitorLine::device() const
{
    if (port.contains(QLatin1Char('/')))
        return port;
    return QStringLiteral("\\\\.\\") + port;
}

QStringList monitorLine::arguments() const
{
    return {QStringLiteral("--port"), device(), QStringLiteral("--baudrate"),
        QString::number(baudRate), QStringLiteral("--parity"), QString(QLatin1Char(parity)),
        QStringLiteral("--data_bit"), QString::number(dataBits), QStringLiteral("--stop_bit"),
        QString::number(stopBits), QStringLiteral("--framing"),
        ascii ? QStringLiteral("ASCII") : QStringLiteral("RTU"), QStringLiteral("--csv"),
        QStringLiteral("-")};
}

bool monitorLine::isDevice(const QString &other) const
{
    return !port.isEmpty() && !other.isEmpty() && devicePath(device()) == devicePath(other);
}

QList<int> monitorLine::baudRates()
{
    QList<int> rates;
    for (const int rate : Modbus::knownBaudRates())
        rates << rate;
    return rates;
}
