#include "scanoptions.h"

#include "checks.h"
#include "connectionchecks.h"
#include "optiontable.h"

namespace ScanOptions {

namespace {

constexpr TranslationContext tr("ScanOptions");

void timeout(const QString &value, LineKind, QString *lines)
{
    Checks::integerRangeCheck(value, MinTimeoutMs, MaxTimeoutMs, lines);
}

constexpr OptionRow::Value Value = OptionRow::TakesValue;

// Every option in the order of the usage text.
const OptionRow optionRows[] = {
    {"--address", Value, QT_TRANSLATE_NOOP("ScanOptions", "Device address")},
    {"--baudrate", Value, QT_TRANSLATE_NOOP("ScanOptions", "Baudrate")},
    {"--port", Value, QT_TRANSLATE_NOOP("ScanOptions", "Serial port name")},
    {"--version", Value, QT_TRANSLATE_NOOP("ScanOptions", "Id version 1,2,3,4")},
    {"--names", Value, QT_TRANSLATE_NOOP("ScanOptions", "Ports names")},
    {"--debug", Value, QT_TRANSLATE_NOOP("ScanOptions", "Debug mode")},
    {"--help", OptionRow::Flag, QT_TRANSLATE_NOOP("ScanOptions", "Help")},
    {"--db", Value, QT_TRANSLATE_NOOP("ScanOptions", "Data base - sqlite")},
    {"--timeout", Value, QT_TRANSLATE_NOOP("ScanOptions", "Response time-out in ms (10 to 10000)"),
        timeout},
    {"--parallel", OptionRow::Flag,
        QT_TRANSLATE_NOOP("ScanOptions", "Scan the ports at the same time (with --db)")},
    {"--ip", Value, QT_TRANSLATE_NOOP("ScanOptions", "IP address: the addresses behind it")},
    {"--framing", Value,
        QT_TRANSLATE_NOOP("ScanOptions", "Framing RTU, ASCII (with --ip: gateway)"),
        ConnectionChecks::framing},
    {"--tls", OptionRow::Flag,
        QT_TRANSLATE_NOOP("ScanOptions", "Modbus/TCP Security (TLS), port 802")},
    {"--cert", Value, QT_TRANSLATE_NOOP("ScanOptions", "TLS client certificate (PEM)"),
        ConnectionChecks::tlsFile},
    {"--key", Value, QT_TRANSLATE_NOOP("ScanOptions", "TLS client private key (PEM)"),
        ConnectionChecks::tlsFile},
    {"--ca", Value, QT_TRANSLATE_NOOP("ScanOptions", "TLS certificate authorities (PEM)"),
        ConnectionChecks::tlsFile},
};

} // namespace

const OptionTable &table()
{
    static const OptionTable options(TranslationContext("ScanOptions"), optionRows);
    return options;
}

QString usageText()
{
    return "<br>"
        + tr("qelDrvScan.exe --address 1 --port \\\\.\\COM1 --baudrate 9600 --baudrate 115200 "
             "--version 1 --version 3")
        + "<br><br>" + table().helpRows() + "<br>";
}

} // namespace ScanOptions
