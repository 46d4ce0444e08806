#include "connectionchecks.h"

#include "checks.h"
#include "driverconnection.h"
#include "engine/smallfile.h"
#include "optionpairs.h"
#include "translationcontext.h"

#include <QFile>

namespace {
constexpr TranslationContext tr("ConnectionChecks");
} // namespace

namespace ConnectionChecks {

void deviceAddress(const QString &value, LineKind line, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::deviceAddressCheck(value, takesAnyUnit(line), lines);
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

void dataBits(const QString &value, LineKind line, QString *lines)
{
    if (line == LineKind::SerialAscii)
        Checks::memberCheck(value, {QStringLiteral("7"), QStringLiteral("8")}, lines);
    else
        Checks::memberCheck(value, {QStringLiteral("8")}, lines);
}

void stopBits(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, {QStringLiteral("1"), QStringLiteral("2")}, lines);
}

void framing(const QString &value, LineKind line, QString *lines)
{
    if (line == LineKind::Tls)
        *lines += "&nbsp;--framing&nbsp;" + tr("cannot be used with") + "&nbsp;--tls<br>";
    else
        Checks::memberCheck(value, {QStringLiteral("RTU"), QStringLiteral("ASCII")}, lines);
}

void tlsFile(const QString &value, LineKind line, QString *lines)
{
    // Without "--tls" the files would be ignored and the request go out in
    // the clear.
    if (line != LineKind::Tls) {
        *lines += "&nbsp;" + value + "&nbsp;" + tr("is used only with") + "&nbsp;--tls<br>";
        return;
    }
    std::string content;
    const int error = Modbus::readSmallFile(QFile::encodeName(value).constData(), &content);
    if (error != 0)
        *lines += "&nbsp;" + value + "&nbsp;" + tr("cannot be read:") + " "
            + QString::fromLocal8Bit(Modbus::errorText(error)) + "<br>";
}

void missingOptions(const OptionPairs &options, QString *lines)
{
    const LineKind line = DriverConnection::lineKind(options);
    if (!overNetwork(line))
        Checks::requireOption(options, QStringLiteral("--port"), lines);
    if (!takesAnyUnit(line))
        Checks::requireOption(options, QStringLiteral("--address"), lines);
    missingTlsOptions(options, lines);
}

void missingTlsOptions(const OptionPairs &options, QString *lines)
{
    if (DriverConnection::lineKind(options) != LineKind::Tls)
        return;
    for (const char *name : {"--ip", "--cert", "--key", "--ca"})
        Checks::requireOption(options, QLatin1String(name), lines);
}

} // namespace ConnectionChecks
