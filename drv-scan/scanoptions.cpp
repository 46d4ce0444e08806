#include "scanoptions.h"

#include "checks.h"

#include <QCoreApplication>

namespace ScanOptions {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ScanOptions", text);
}

struct Option
{
    const char *name;
    const char *usage;
};

// QT_TRANSLATE_NOOP keeps the usage texts visible to the translation tools.
const Option Options[] = {
    {"--address", QT_TRANSLATE_NOOP("ScanOptions", "Device address")},
    {"--baudrate", QT_TRANSLATE_NOOP("ScanOptions", "Baudrate")},
    {"--port", QT_TRANSLATE_NOOP("ScanOptions", "Serial port name")},
    {"--version", QT_TRANSLATE_NOOP("ScanOptions", "Id version 1,2,3,4")},
    {"--names", QT_TRANSLATE_NOOP("ScanOptions", "Ports names")},
    {"--debug", QT_TRANSLATE_NOOP("ScanOptions", "Debug mode")},
    {"--help", QT_TRANSLATE_NOOP("ScanOptions", "Help")},
    {"--db", QT_TRANSLATE_NOOP("ScanOptions", "Data base - sqlite")},
    {"--timeout", QT_TRANSLATE_NOOP("ScanOptions", "Response time-out in ms (10 to 10000)")},
    {"--parallel", QT_TRANSLATE_NOOP("ScanOptions", "Scan the ports at the same time (with --db)")},
};

} // namespace

QStringList table()
{
    QStringList names;
    for (const Option &option : Options)
        names.append(QLatin1String(option.name));
    return names;
}

QString usageText()
{
    QString text = "<br>"
        + tr("qelDrvScan.exe --address 1 --port \\\\.\\COM1 --baudrate 9600 --baudrate 115200 "
             "--version 1 --version 3")
        + "<br><br>";
    for (const Option &option : Options)
        text += helpRow(QLatin1String(option.name), tr(option.usage));
    return text + "<br>";
}

} // namespace ScanOptions
