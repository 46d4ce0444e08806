#pragma once

#include "cmm.h"
#include "linesettings.h"
#include "probeline.h"
#include "scanresult.h"

#include <QList>
#include <QStringList>

#include <functional>

class SerialPortList;

namespace CmmNamespace {

// Probes serial ports over baud rates and device addresses for devices that
// identify themselves. Every probe opens its own line and closes it again,
// whatever the outcome. The base run() is kept: the scans are its operations.
class Cmm_Scan : public Cmm
{
public:
    // The machine's ports come from ports (borrowed), so tests can hand in
    // a list of their own.
    explicit Cmm_Scan(const SerialPortList &ports);
    ~Cmm_Scan() override;

    // Each replaces its list by the values read as unsigned decimal numbers
    // (text that does not read gives 0).
    void setAddresses(const QStringList &values);
    void setBaudRates(const QStringList &values);
    void setVersions(const QStringList &values);
    void setDebug(bool on) { debug = on; }
    // The line every probe opens: its kind and, over the network, the host,
    // port and TLS files. On a serial line each probe takes its port and baud
    // rate from the scan; over the network they do not apply: the scan goes
    // over addresses alone, with the one baud rate 0 (8N1 RTU unless set).
    void setLine(const LineSettings &line);
    bool overNetwork() const { return ::overNetwork(line.kind); }
    // "host:port" of a line over the network, the port name of its probes.
    QString networkPort() const;
    // The line of one probe of a port at a baud rate.
    LineSettings probeLine(const QString &port, int baudRate) const;
    // Response time-out of every probe, identification and serial number, in
    // milliseconds; 0 keeps the engine's. A probe that finds nothing then
    // skips the settling pause after its attempts.
    void setResponseTimeout(int milliseconds) { settings.responseTimeoutMs = milliseconds; }
    // A descriptor that, once readable, ends the probe under way and every
    // scan (-1: none). A probe it interrupted is not counted.
    void setStopDescriptor(int descriptor) { settings.cancelDescriptor = descriptor; }
    // Whether a stop was requested through the stop descriptor.
    bool stopRequested() const;
    // The waits of every probe line, for further reads on the same terms.
    const ProbeSettings &probeSettings() const { return settings; }

    // Device addresses of the database scan (default 1).
    const QList<quint32> &addressList() const { return addresses; }
    // Baud rates in the order given (default 115200).
    const QList<quint32> &baudRateList() const { return baudRates; }
    bool isVerbose() const { return verbose; }

    using ReportSink = std::function<void(const QString &)>;

    // Opens the port at the baud rate (8N1; over the network the scan's
    // line), asks the device at address for its identification and closes
    // the line again. The progress lines (when
    // verbose) are printed, or handed to report when one is given. Safe to
    // run for several ports at the same time.
    ScanResult scanOne(const QString &port, const QString &baudRate, int address,
        const ReportSink &report = ReportSink()) const;

    // Scans every free port of the machine; the baud rates in ascending order.
    bool scanAllPorts(int address, bool verbose);
    // Scans the given ports, busy or not; the baud rates in ascending order.
    bool scanPorts(const QStringList &ports, int address, bool verbose);
    // Scans the free ports whose system location contains one of the names.
    bool scanNamedPorts(const QStringList &names, int address, bool verbose);
    // Over the network: probes every device address in order.
    bool scanNetwork(bool verbose);
    // Each scan appends to the results and returns whether any device of the
    // results so far was found. A stop request ends a scan early.

    QList<ScanResult> results() const { return scanResults; }

    // System locations of the machine's ports that are not busy and contain
    // one of the names (exact, case-sensitive); every free port when names is
    // empty.
    QStringList freePorts(const QStringList &names = QStringList()) const;

private:
    bool scanList(const QStringList &ports, int address);
    bool anyFound();

    const SerialPortList &machinePorts;
    QList<ScanResult> scanResults;
    QList<quint32> addresses {1};
    QList<quint32> baudRates {115200};
    QList<quint32> versions;
    bool verbose = false;
    bool debug = false;
    ProbeSettings settings;
    LineSettings line;
};

} // namespace CmmNamespace
