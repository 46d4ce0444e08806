#include "connectionchecks.h"

#include "checks.h"

namespace ConnectionChecks {

void deviceAddress(const QString &value, LineKind line, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::deviceAddressCheck(value, line == LineKind::Tcp, lines);
}

void tcpPort(const QString &value, LineKind, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::decimalRangeCheck(value, 1, 65535, lines);
}

void baudRate(const QString &value, LineKind, QString *lines)
{
    Checks::numberCheck(value, lines);
}

void parity(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(
        value, {QStringLiteral("N"), QStringLiteral("O"), QStringLiteral("E")}, lines);
}

void dataBits(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, {QStringLiteral("8")}, lines);
}

void stopBits(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, {QStringLiteral("1"), QStringLiteral("2")}, lines);
}

} // namespace ConnectionChecks
