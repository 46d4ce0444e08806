// qelDrvScan: searches serial lines for devices over ports, baud rates and
// device addresses, or the addresses behind a gateway or server with --ip.
// With --db it records every device found, with its serial number, in an
// SQLite database that another program watches; with --names it prints one
// line per port and baud rate of the matching ports; with --ip, with --port,
// or with no port option, it prints the progress of every attempt.
// SIGINT or SIGTERM ends the probe under way, closes its line and ends the
// run with "Stopped" and status -1.

#include "checks.h"
#include "cmm_scan.h"
#include "connectionchecks.h"
#include "filenames.h"
#include "numbers.h"
#include "optionpairs.h"
#include "optiontable.h"
#include "recordingscan.h"
#include "reportprinter.h"
#include "scandatabase.h"
#include "scanoptions.h"
#include "scanreport.h"
#include "stoprequest.h"
#include "systemserialportlist.h"
#include "translationcontext.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <memory>

using CmmNamespace::Cmm_Scan;

namespace {

constexpr TranslationContext tr("DrvScan");

int stopped()
{
    printReport(tr("Stopped") + "<br>");
    return -1;
}

// The options that must go together (those of TLS) and the values that are
// checked (the time-out, the framing, the TLS files); false after printing
// what is wrong.
bool acceptable(const OptionPairs &options)
{
    QString missing;
    ConnectionChecks::missingTlsOptions(options, &missing);
    if (!missing.isEmpty()) {
        printError(Checks::requiredParametersMessage(missing));
        return false;
    }
    const QString lines
        = ScanOptions::table().invalidValues(options, LineSettings::kindOf(options));
    if (!lines.isEmpty()) {
        printError(Checks::invalidParametersMessage(lines));
        return false;
    }
    return true;
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
    if (scan.overNetwork()) {
        ports = QStringList {scan.networkPort()};
    } else if (options.has(QStringLiteral("--port"))) {
        ports = options.values(QStringLiteral("--port"));
        scan.scanPorts(ports, address, true);
    } else {
        ports = scan.freePorts(options.values(QStringLiteral("--names")));
    }
    if (scan.stopRequested())
        return stopped();
    RecordingScan recordingScan(scan, database);
    recordingScan.setParallel(options.has(QStringLiteral("--parallel")));
    // A timed scan is one that should go fast: its database statements run
    // beside the probes instead of between them.
    recordingScan.setPipelined(options.has(QStringLiteral("--timeout")));
    return recordingScan.run(ports) ? 0 : -1;
}

// One line per port and baud rate of the ports whose location matches.
int namesMode(const OptionPairs &options, Cmm_Scan &scan, int address)
{
    printReport(tr("Scanning ...") + "<br>");
    scan.scanNamedPorts(options.values(QStringLiteral("--names")), address, false);
    const QList<ScanResult> results = scan.results();
    for (const ScanResult &result : results)
        printReport(ScanReport::namedPortLine(result));
    if (scan.stopRequested())
        return stopped();
    printReport(tr("Done") + "<br>");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    FileNames::keepBytesAsGiven(); // database and port names as given
    keepRunningWhenOutputCloses(); // a scan recording to --db goes to its end
    QCoreApplication app(argc, argv);
    OptionPairs options;
    if (const std::optional<int> status = ScanOptions::table().readCommandLine(
            QCoreApplication::arguments(), ScanOptions::usageText(), &options))
        return *status;

    if (!acceptable(options))
        return -1;
    // Read by the same rule as the check.
    const int timeout = int(Numbers::toReal(options.value(QStringLiteral("--timeout"))));
    if (!StopRequest::install()) {
        printError("<font color=\"red\">" + tr("Cannot handle stop signals:") + " "
            + QString::fromLocal8Bit(strerror(errno)) + "</font><br>");
        return -1;
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
    scan->setLine(LineSettings::fromOptions(options));
    scan->setResponseTimeout(timeout);
    scan->setStopDescriptor(StopRequest::descriptor());
    const int address = options.has(QStringLiteral("--address"))
        ? int(Numbers::toDecimal(options.value(QStringLiteral("--address"))))
        : 1;

    if (options.has(QStringLiteral("--db")))
        return databaseMode(options, *scan, address);
    if (scan->overNetwork()) {
        scan->scanNetwork(true);
        return scan->stopRequested() ? stopped() : 0;
    }
    if (options.has(QStringLiteral("--names")))
        return namesMode(options, *scan, address);
    if (options.has(QStringLiteral("--port")))
        scan->scanPorts(options.values(QStringLiteral("--port")), address, true);
    else
        scan->scanAllPorts(address, true);
    return scan->stopRequested() ? stopped() : 0;
}
