// Cmm_Scan in the test's process: option values, the choice of the machine's
// ports from a list handed in, the probes against the device simulator on a
// pseudo-terminal (entered in that list where the machine's ports are
// scanned), the result lines, and lines that are always closed again.

#include "cmm_scan.h"
#include "devsim.h"
#include "scanreport.h"
#include "serialportlist.h"
#include "wireframe.h"

#include <QDir>
#include <QtTest>

using CmmNamespace::Cmm_Scan;

Q_DECLARE_METATYPE(QVector<SerialPortEntry>)
Q_DECLARE_METATYPE(ScanResult)

namespace {

class GivenPorts : public SerialPortList
{
public:
    explicit GivenPorts(const QVector<SerialPortEntry> &ports = {})
        : ports(ports)
    { }
    QVector<SerialPortEntry> availablePorts() const override { return ports; }

private:
    QVector<SerialPortEntry> ports;
};

SerialPortEntry entry(const QString &location, bool busy = false)
{
    SerialPortEntry port;
    port.portName = location.section('/', -1);
    port.systemLocation = location;
    port.busy = busy;
    return port;
}

int openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::System)
        .size();
}

// "port|baudRate|address|version|identification|found" per result.
QStringList summary(const QList<ScanResult> &results)
{
    QStringList lines;
    for (const ScanResult &result : results) {
        lines.append(QStringList {result.port, result.baudRate, QString::number(result.address),
            QString::number(result.version), result.identification, result.notFound ? "-" : "found"}
                         .join('|'));
    }
    return lines;
}

ScanResult result(const QString &port, bool found, const QString &identification = QString())
{
    ScanResult scanned;
    scanned.port = port;
    scanned.notFound = !found;
    scanned.identification = identification;
    return scanned;
}

} // namespace

class TestCmmScan : public QObject
{
    Q_OBJECT

private slots:
    void listValues_data();
    void listValues();
    void freePorts_data();
    void freePorts();
    void scansOfTheMachinesPorts_data();
    void scansOfTheMachinesPorts();
    void givenPortsAreProbedBusyOrNot();
    void resultsAccumulate();
    void probesNeverLeaveALineOpen_data();
    void probesNeverLeaveALineOpen();
    void namedPortLine_data();
    void namedPortLine();
    void databaseLine_data();
    void databaseLine();
};

void TestCmmScan::listValues_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QList<quint32>>("expected");
    QTest::newRow("decimal") << QStringList {"115200", "9600"} << QList<quint32> {115200, 9600};
    QTest::newRow("not numbers give 0")
        << QStringList {"fast", "", "0x2580", "-1", "9600.0"} << QList<quint32> {0, 0, 0, 0, 0};
    QTest::newRow("given order and repeats kept")
        << QStringList {"7", "5", "7"} << QList<quint32> {7, 5, 7};
}

void TestCmmScan::listValues()
{
    QFETCH(QStringList, values);
    QFETCH(QList<quint32>, expected);
    const GivenPorts none;
    Cmm_Scan scan(none);
    QCOMPARE(scan.addressList(), QList<quint32> {1});
    QCOMPARE(scan.baudRateList(), QList<quint32> {115200});
    scan.setAddresses(values);
    scan.setBaudRates(values);
    QCOMPARE(scan.addressList(), expected);
    QCOMPARE(scan.baudRateList(), expected);
}

void TestCmmScan::freePorts_data()
{
    QTest::addColumn<QVector<SerialPortEntry>>("machine");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");

    const QVector<SerialPortEntry> machine {entry("/dev/ttyUSB1"), entry("/dev/ttyS0", true),
        entry("/dev/ttyUSB0"), entry("/dev/ttyS1"), entry("/dev/ttyACM0", true)};
    QTest::newRow("no names: every free port in the system's order")
        << machine << QStringList() << QStringList {"/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyS1"};
    QTest::newRow("part of the location")
        << machine << QStringList {"USB"} << QStringList {"/dev/ttyUSB1", "/dev/ttyUSB0"};
    QTest::newRow("busy ports are left out")
        << machine << QStringList {"ttyS"} << QStringList {"/dev/ttyS1"};
    QTest::newRow("case-sensitive") << machine << QStringList {"usb"} << QStringList();
    QTest::newRow("any of several names")
        << machine << QStringList {"S1", "USB0"} << QStringList {"/dev/ttyUSB0", "/dev/ttyS1"};
    QTest::newRow("a name that matches nothing") << machine << QStringList {"COM"} << QStringList();
    QTest::newRow("no ports on the machine")
        << QVector<SerialPortEntry>() << QStringList() << QStringList();
}

void TestCmmScan::freePorts()
{
    QFETCH(QVector<SerialPortEntry>, machine);
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    const GivenPorts ports(machine);
    const Cmm_Scan scan(ports);
    QCOMPARE(scan.freePorts(names), expected);
}

void TestCmmScan::scansOfTheMachinesPorts_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("sentToTheDevice");

    QTest::newRow("all ports: the busy one is skipped") << false << QStringList() << true << 2;
    QTest::newRow("named: the simulator's port") << true << QStringList {"pts"} << true << 2;
    QTest::newRow("named: only the missing port") << true << QStringList {"qel-none"} << false << 0;
    QTest::newRow("named: nothing matches") << true << QStringList {"COM"} << false << 0;
}

void TestCmmScan::scansOfTheMachinesPorts()
{
    QFETCH(bool, named);
    QFETCH(QStringList, names);
    QFETCH(bool, found);
    QFETCH(int, sentToTheDevice);

    DevSim sim({"--device", "4,version=2,id=Bay 4"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    // The system's list shows no pseudo-terminal: the simulator's line is
    // entered in a list of the test's own, once free and once busy.
    const GivenPorts ports(
        {entry("/dev/qel-none-0"), entry(sim.ptyPath()), entry(sim.ptyPath(), true)});
    Cmm_Scan scan(ports);
    scan.setBaudRates({"115200", "9600"});
    scan.setVersions({"2"});

    const bool any = named ? scan.scanNamedPorts(names, 4, false) : scan.scanAllPorts(4, false);
    QCOMPARE(any, found);
    QCOMPARE(scan.ok, found);

    QStringList expected;
    const QString pty = sim.ptyPath();
    for (const QString &port : scan.freePorts(names)) {
        const bool simulator = port == pty;
        for (const char *rate : {"9600", "115200"}) {
            expected.append(QStringList {port, rate, "4", simulator ? "2" : "0",
                simulator ? "Bay 4" : "", simulator ? "found" : "-"}
                                .join('|'));
        }
    }
    QCOMPARE(summary(scan.results()), expected);
    QCOMPARE(sim.requestLog().size(), sentToTheDevice);
    // The baud-rate list keeps the order given.
    QCOMPARE(scan.baudRateList(), (QList<quint32> {115200, 9600}));
}

void TestCmmScan::givenPortsAreProbedBusyOrNot()
{
    DevSim sim({"--device", "1,version=1,id=Free"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    // The machine's list says the port is busy; given ports are not checked.
    const GivenPorts ports({entry(sim.ptyPath(), true)});
    Cmm_Scan scan(ports);
    scan.setVersions({"1"});
    QVERIFY(scan.scanPorts({sim.ptyPath()}, 1, false));
    const QString expected
        = QStringList {sim.ptyPath(), "115200", "1", "1", "Free", "found"}.join('|');
    QCOMPARE(summary(scan.results()), QStringList {expected});
    QCOMPARE(sim.requestLog(), QStringList {WireFrame::rtu("01 11")});
}

void TestCmmScan::resultsAccumulate()
{
    DevSim sim({"--device", "1,version=1,id=First"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const GivenPorts none;
    Cmm_Scan scan(none);
    scan.setVersions({"1"});
    QVERIFY(scan.scanPorts({sim.ptyPath()}, 1, false));
    // A later scan that finds nothing still reports the device found before.
    QVERIFY(scan.scanPorts({"/dev/qel-none"}, 1, false));
    QCOMPARE(scan.results().size(), 2);
    QVERIFY(!scan.results().at(0).notFound);
    QVERIFY(scan.results().at(1).notFound);
}

void TestCmmScan::probesNeverLeaveALineOpen_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baudRate");
    QTest::addColumn<int>("address");
    QTest::addColumn<bool>("found");

    QTest::newRow("found") << "sim"
                           << "115200" << 1 << true;
    QTest::newRow("no device at the address: a time-out ends the wait") << "sim"
                                                                        << "115200" << 2 << false;
    QTest::newRow("address the line refuses") << "sim"
                                              << "115200" << 300 << false;
    QTest::newRow("port that cannot be opened") << "/dev/qel-none"
                                                << "115200" << 1 << false;
    QTest::newRow("baud rate 0: no context") << "sim"
                                             << "0" << 1 << false;
    QTest::newRow("baud rate that is not a number") << "sim"
                                                    << "fast" << 1 << false;
    QTest::newRow("empty port name") << ""
                                     << "115200" << 1 << false;
}

void TestCmmScan::probesNeverLeaveALineOpen()
{
    QFETCH(QString, port);
    QFETCH(QString, baudRate);
    QFETCH(int, address);
    QFETCH(bool, found);

    DevSim sim({"--device", "1,version=1,id=Here"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    if (port == "sim")
        port = sim.ptyPath();
    const GivenPorts none;
    Cmm_Scan scan(none);
    scan.setVersions({"1"});

    const int descriptors = openDescriptors();
    const ScanResult probe = scan.scanOne(port, baudRate, address);
    QCOMPARE(openDescriptors(), descriptors);
    QCOMPARE(probe.notFound, !found);
    QCOMPARE(probe.port, port);
    QCOMPARE(probe.baudRate, baudRate);
    QCOMPARE(probe.address, address);
    QCOMPARE(probe.version, found ? 1 : 0);
    QCOMPARE(probe.identification, QString(found ? "Here" : ""));
    // The next probe of the line finds the device.
    QVERIFY(!scan.scanOne(sim.ptyPath(), "115200", 1).notFound);
}

void TestCmmScan::namedPortLine_data()
{
    QTest::addColumn<ScanResult>("result");
    QTest::addColumn<QString>("expected");
    QTest::newRow("found") << result("/dev/ttyUSB0", true, "RB4 feeder")
                           << "/dev/ttyUSB0        RB4 feeder<br>";
    QTest::newRow("not found") << result("/dev/ttyUSB0", false) << "/dev/ttyUSB0        - <br>";
    QTest::newRow("long port name is not cut")
        << result("/dev/serial/by-id/usb-FTDI_1", false) << "/dev/serial/by-id/usb-FTDI_1- <br>";
}

void TestCmmScan::namedPortLine()
{
    QFETCH(ScanResult, result);
    QFETCH(QString, expected);
    QCOMPARE(ScanReport::namedPortLine(result), expected);
}

void TestCmmScan::databaseLine_data()
{
    QTest::addColumn<ScanResult>("result");
    QTest::addColumn<quint32>("address");
    QTest::addColumn<quint32>("baudRate");
    QTest::addColumn<int>("serialNumber");
    QTest::addColumn<QString>("expected");

    QTest::newRow("found")
        << result("\\\\.\\COM3", true, "RB4") << 1u << 115200u << 4711
        << "\\\\.\\COM3                      addr: 1   baundrate: 115200   id: RB4             "
           "sn: 4711  <br>";
    QTest::newRow("serial number not read")
        << result("/dev/ttyUSB0", true, "RB4") << 247u << 9600u << -1
        << "/dev/ttyUSB0                  addr: 247 baundrate: 9600     id: RB4             "
           "sn: -1    <br>";
    QTest::newRow("not found")
        << result("/dev/ttyUSB0", false) << 12u << 1000000u << -1
        << "/dev/ttyUSB0                  addr: 12  baundrate: 1000000  id: -     <br>";
    QTest::newRow("long fields are not cut")
        << result("/dev/serial/by-path/pci-0000:00:14.0", true, "ABCDEFGHIJKLMNOP") << 4294967295u
        << 4294967295u << 65535
        << "/dev/serial/by-path/pci-0000:00:14.0addr: 4294967295baundrate: 4294967295id: "
           "ABCDEFGHIJKLMNOPsn: 65535 <br>";
}

void TestCmmScan::databaseLine()
{
    QFETCH(ScanResult, result);
    QFETCH(quint32, address);
    QFETCH(quint32, baudRate);
    QFETCH(int, serialNumber);
    QFETCH(QString, expected);
    QCOMPARE(ScanReport::databaseLine(result, address, baudRate, serialNumber), expected);
}

QTEST_GUILESS_MAIN(TestCmmScan)
#include "tst_cmmscan.moc"
