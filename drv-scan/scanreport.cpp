#include "scanreport.h"

namespace ScanReport {

namespace {

QString padded(const QString &text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '));
}

} // namespace

QString namedPortLine(const ScanResult &result)
{
    return padded(result.port, 20)
        + (result.notFound ? QStringLiteral("- ") : result.identification) + "<br>";
}

QString databaseLine(const ScanResult &result, quint32 address, quint32 baudRate, int serialNumber)
{
    QString line = padded(result.port, 30) + padded("addr: " + QString::number(address), 10)
        + padded("baundrate: " + QString::number(baudRate), 20);
    if (result.notFound)
        line += padded(QStringLiteral("id: -"), 10);
    else
        line += padded("id: " + result.identification, 20)
            + padded("sn: " + QString::number(serialNumber), 10);
    return line + "<br>";
}

} // namespace ScanReport
