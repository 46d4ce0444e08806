#include "cmm_scan.h"

#include "cmm_read_id.h"
#include "numbers.h"
#include "probeline.h"
#include "reportprinter.h"
#include "serialportlist.h"
#include "stoprequest.h"

#include "translationcontext.h"

#include <algorithm>

namespace CmmNamespace {

namespace {

constexpr TranslationContext tr("Cmm_Scan");

QList<quint32> decimalValues(const QStringList &values)
{
    QList<quint32> numbers;
    for (const QString &value : values)
        numbers.append(Numbers::toDecimal(value));
    return numbers;
}

} // namespace

Cmm_Scan::Cmm_Scan(const SerialPortList &ports)
    : machinePorts(ports)
{ }

Cmm_Scan::~Cmm_Scan() = default;

void Cmm_Scan::setAddresses(const QStringList &values)
{
    addresses = decimalValues(values);
}

void Cmm_Scan::setBaudRates(const QStringList &values)
{
    baudRates = decimalValues(values);
}

void Cmm_Scan::setVersions(const QStringList &values)
{
    versions = decimalValues(values);
}

void Cmm_Scan::setLine(const LineSettings &settings)
{
    line = settings;
    if (overNetwork())
        baudRates = {0};
}

QString Cmm_Scan::networkPort() const
{
    return line.host + ":" + QString::number(line.port);
}

LineSettings Cmm_Scan::probeLine(const QString &port, int baudRate) const
{
    LineSettings probe = line;
    if (!overNetwork()) {
        probe.device = port;
        probe.baudRate = baudRate;
    }
    return probe;
}

bool Cmm_Scan::stopRequested() const
{
    return StopRequest::isSignalled(settings.cancelDescriptor);
}

ScanResult Cmm_Scan::scanOne(
    const QString &port, const QString &baudRate, int address, const ReportSink &report) const
{
    ScanResult result;
    result.port = port;
    result.baudRate = baudRate;
    result.address = address;

    ProbeLine probe(probeLine(port, baudRate.toInt()), settings);
    if (!probe.isCreated())
        return result;
    ModbusContext *context = probe.modbusContext();
    Modbus::setDebug(context, debug);
    Modbus::setAddress(context, address);
    QString progress = tr("Open port:") + " " + port + " ";
    if (overNetwork())
        progress += tr("Address:") + " " + QString::number(address) + " ";
    else
        progress += tr("Baudrate:") + " " + baudRate + " ";
    if (!probe.connect())
        return result;
    progress += "<font color=\"green\">" + tr("Connected") + "</font><br>";
    if (verbose) {
        if (report)
            report(progress);
        else
            printReport(progress);
    }

    Cmm_Read_Id command(context);
    if (!versions.isEmpty()) {
        QList<int> tried;
        for (const quint32 version : qAsConst(versions))
            tried.append(int(version));
        command.setVersions(tried);
    }
    command.setVerbose(verbose);
    if (report)
        command.setReportSink(report);
    command.setPauseAfterSilence(settings.responseTimeoutMs == 0);
    if (command.run()) {
        result.notFound = false;
        result.identification = command.identificationText();
        result.version = int(command.identificationVersion());
    }
    return result;
}

bool Cmm_Scan::scanAllPorts(int address, bool verbose)
{
    this->verbose = verbose;
    return scanList(freePorts(), address);
}

bool Cmm_Scan::scanPorts(const QStringList &ports, int address, bool verbose)
{
    this->verbose = verbose;
    return scanList(ports, address);
}

bool Cmm_Scan::scanNamedPorts(const QStringList &names, int address, bool verbose)
{
    this->verbose = verbose;
    // Without any name no port is taken.
    return scanList(names.isEmpty() ? QStringList() : freePorts(names), address);
}

bool Cmm_Scan::scanNetwork(bool verbose)
{
    this->verbose = verbose;
    for (const quint32 address : qAsConst(addresses)) {
        if (stopRequested())
            return anyFound();
        const ScanResult result = scanOne(networkPort(), QStringLiteral("0"), int(address));
        if (stopRequested())
            return anyFound();
        scanResults.append(result);
    }
    return anyFound();
}

bool Cmm_Scan::scanList(const QStringList &ports, int address)
{
    // These scans probe the baud rates in ascending order; the list itself
    // keeps the given order for the database scan.
    QList<quint32> ascending = baudRates;
    std::sort(ascending.begin(), ascending.end());
    for (const QString &port : ports) {
        for (const quint32 baudRate : qAsConst(ascending)) {
            if (stopRequested())
                return anyFound();
            const ScanResult result = scanOne(port, QString::number(baudRate), address);
            // The probe a stop request cut short found nothing certain.
            if (stopRequested())
                return anyFound();
            scanResults.append(result);
        }
    }
    return anyFound();
}

bool Cmm_Scan::anyFound()
{
    ok = std::any_of(scanResults.cbegin(), scanResults.cend(),
        [](const ScanResult &result) { return !result.notFound; });
    return ok;
}

QStringList Cmm_Scan::freePorts(const QStringList &names) const
{
    QStringList locations;
    const QVector<SerialPortEntry> ports = machinePorts.availablePorts();
    for (const SerialPortEntry &port : ports) {
        if (port.busy)
            continue;
        const bool named = names.isEmpty()
            || std::any_of(names.cbegin(), names.cend(), [&port](const QString &name) {
                   return port.systemLocation.contains(name, Qt::CaseSensitive);
               });
        if (named)
            locations.append(port.systemLocation);
    }
    return locations;
}

} // namespace CmmNamespace
