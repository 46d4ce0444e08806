// qelDrvScan: searches serial lines for devices over ports, baud rates and
// device addresses. With --db it records every device found, with its serial
// number, in an SQLite database that another program watches; with --names
// it prints one line per port and baud rate of the matching ports; with
// --port, or with no port option, it prints the progress of every attempt.

#include "cmm_scan.h"
#include "numbers.h"
#include "optionpairs.h"
#include "recordingscan.h"
#include "reportprinter.h"
#include "scandatabase.h"
#include "scanoptions.h"
#include "scanreport.h"
#include "systemserialportlist.h"

#include <QCoreApplication>

#include <memory>

using CmmNamespace::Cmm_Scan;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DrvScan", text);
}

// Records the devices found in the database. A database that cannot be used
// ends the run before anything is probed.
int databaseMode(const OptionPairs &options, Cmm_Scan &scan, int address)
{
    ScanDatabase database(options.value(QStringLiteral("--db")));
    if (!database.open()) {
        printError("<font color=\"red\">" + database.errorText() + "</font><br>");
        return -1;
    }

    QStringList ports;
    if (options.has(QStringLiteral("--port"))) {
        ports = options.values(QStringLiteral("--port"));
        scan.scanPorts(ports, address, true);
    } else {
        ports = scan.freePorts(options.values(QStringLiteral("--names")));
    }
    RecordingScan recordingScan(scan, database);
    return recordingScan.run(ports) ? 0 : -1;
}

// One line per port and baud rate of the ports whose location matches.
void namesMode(const OptionPairs &options, Cmm_Scan &scan, int address)
{
    printReport(tr("Scanning ...") + "<br>");
    scan.scanNamedPorts(options.values(QStringLiteral("--names")), address, false);
    const QList<ScanResult> results = scan.results();
    for (const ScanResult &result : results)
        printReport(ScanReport::namedPortLine(result));
    printReport(tr("Done") + "<br>");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const OptionPairs options(QCoreApplication::arguments(), ScanOptions::table());
    if (options.isEmpty() || options.has(QStringLiteral("--help"))) {
        printReport(ScanOptions::usageText());
        return 0;
    }

    const SystemSerialPortList machinePorts;
    const auto scan = std::make_unique<Cmm_Scan>(machinePorts);
    if (options.has(QStringLiteral("--baudrate")))
        scan->setBaudRates(options.values(QStringLiteral("--baudrate")));
    if (options.has(QStringLiteral("--version")))
        scan->setVersions(options.values(QStringLiteral("--version")));
    if (options.has(QStringLiteral("--address")))
        scan->setAddresses(options.values(QStringLiteral("--address")));
    if (Numbers::toDecimal(options.value(QStringLiteral("--debug"))) == 1)
        scan->setDebug(true);
    const int address = options.has(QStringLiteral("--address"))
        ? int(Numbers::toDecimal(options.value(QStringLiteral("--address"))))
        : 1;

    if (options.has(QStringLiteral("--db")))
        return databaseMode(options, *scan, address);
    if (options.has(QStringLiteral("--names")))
        namesMode(options, *scan, address);
    else if (options.has(QStringLiteral("--port")))
        scan->scanPorts(options.values(QStringLiteral("--port")), address, true);
    else
        scan->scanAllPorts(address, true);
    return 0;
}
