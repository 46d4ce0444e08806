// The report of qelDrvPorts for port and FTDI lists handed in by the test.

#include "ftdidevicelist.h"
#include "portlister.h"
#include "reportprinter.h"
#include "serialportlist.h"

#include <QtTest>

Q_DECLARE_METATYPE(QVector<SerialPortEntry>)
Q_DECLARE_METATYPE(QVector<FtdiDeviceRecord>)

namespace {

class GivenPorts : public SerialPortList
{
public:
    explicit GivenPorts(const QVector<SerialPortEntry> &ports)
        : ports(ports)
    { }
    QVector<SerialPortEntry> availablePorts() const override { return ports; }

private:
    QVector<SerialPortEntry> ports;
};

class GivenFtdiDevices : public FtdiDeviceList
{
public:
    GivenFtdiDevices(const QVector<FtdiDeviceRecord> &records, bool available)
        : records(records)
        , available(available)
    { }
    bool deviceRecords(QVector<FtdiDeviceRecord> *out) override
    {
        *out = available ? records : QVector<FtdiDeviceRecord>();
        return available;
    }

private:
    QVector<FtdiDeviceRecord> records;
    bool available;
};

SerialPortEntry port(const QString &name, const QString &manufacturer = QString(),
    const QString &description = QString(), const QString &serialNumber = QString(),
    bool busy = false)
{
    return {name, "/dev/" + name, manufacturer, description, serialNumber, busy};
}

} // namespace

class TestPortLister : public QObject
{
    Q_OBJECT

private slots:
    void report_data();
    void report();
    void ftdiDescription_data();
    void ftdiDescription();
};

void TestPortLister::report_data()
{
    QTest::addColumn<QVector<SerialPortEntry>>("ports");
    QTest::addColumn<QVector<FtdiDeviceRecord>>("ftdi");
    QTest::addColumn<bool>("ftdiAvailable");
    QTest::addColumn<QString>("expected");

    const QVector<FtdiDeviceRecord> none;
    QTest::newRow("no ports") << QVector<SerialPortEntry>() << none << true
                              << "Ports ...\r\n"
                                 "no available ports in the system\r\n"
                                 "done.\r\n";
    QTest::newRow("missing information prints empty brackets")
        << QVector<SerialPortEntry> {port("ttyS0")} << none << true
        << "Ports ...\r\n"
           "  ttyS0 [/dev/ttyS0] [] [] [] \r\n"
           "done.\r\n";
    QTest::newRow("plain string order: COM10 before COM2")
        << QVector<SerialPortEntry> {port("COM2"), port("COM10"), port("COM1")} << none << true
        << "Ports ...\r\n"
           "  COM1 [/dev/COM1] [] [] [] \r\n"
           "  COM10 [/dev/COM10] [] [] [] \r\n"
           "  COM2 [/dev/COM2] [] [] [] \r\n"
           "done.\r\n";
    QTest::newRow("upper case before lower case")
        << QVector<SerialPortEntry> {port("ttyUSB0"), port("ttyACM0"), port("TTY9")} << none << true
        << "Ports ...\r\n"
           "  TTY9 [/dev/TTY9] [] [] [] \r\n"
           "  ttyACM0 [/dev/ttyACM0] [] [] [] \r\n"
           "  ttyUSB0 [/dev/ttyUSB0] [] [] [] \r\n"
           "done.\r\n";
    QTest::newRow("busy mark") << QVector<SerialPortEntry> {port("ttyS1", "Intel", "16550A", "",
                                                                true),
        port("ttyS0", "Intel", "16550A", "")}
                               << none << true
                               << "Ports ...\r\n"
                                  "  ttyS0 [/dev/ttyS0] [Intel] [16550A] [] \r\n"
                                  "  ttyS1 [/dev/ttyS1] [Intel] [16550A] [] [ !!! BUSY !!! ]\r\n"
                                  "done.\r\n";
    QTest::newRow("FTDI description by serial-number prefix")
        << QVector<SerialPortEntry> {port("ttyUSB0", "FTDI", "FT232R USB UART", "A50285BIA")}
        << QVector<FtdiDeviceRecord> {{"FT0001", "Other adapter"},
               {"A50285BI", "RS485 line 3 of bay 12"}}
        << true
        << "Ports ...\r\n"
           "  ttyUSB0 [/dev/ttyUSB0] [FTDI] [RS485 line 3 of bay 12] [A50285BIA] \r\n"
           "done.\r\n";
    QTest::newRow("FTDI adapter that is busy")
        << QVector<SerialPortEntry> {port("ttyUSB1", "FTDI", "FT232R USB UART", "FT9ZZ01", true)}
        << QVector<FtdiDeviceRecord> {{"FT9ZZ01", "Bay 4"}} << true
        << "Ports ...\r\n"
           "  ttyUSB1 [/dev/ttyUSB1] [FTDI] [Bay 4] [FT9ZZ01] [ !!! BUSY !!! ]\r\n"
           "done.\r\n";
    QTest::newRow("FTDI without a matching record shows an empty description")
        << QVector<SerialPortEntry> {port("ttyUSB0", "FTDI", "FT232R USB UART", "A50285BIA")}
        << QVector<FtdiDeviceRecord> {{"B00000", "Another one"}} << true
        << "Ports ...\r\n"
           "  ttyUSB0 [/dev/ttyUSB0] [FTDI] [] [A50285BIA] \r\n"
           "done.\r\n";
    QTest::newRow("FTDI list that cannot be had shows an empty description")
        << QVector<SerialPortEntry> {port("ttyUSB0", "FTDI", "FT232R USB UART", "A50285BIA")}
        << QVector<FtdiDeviceRecord> {{"A50285BI", "Never shown"}} << false
        << "Ports ...\r\n"
           "  ttyUSB0 [/dev/ttyUSB0] [FTDI] [] [A50285BIA] \r\n"
           "done.\r\n";
    QTest::newRow("manufacturer without FTDI keeps the system description")
        << QVector<SerialPortEntry> {port("ttyUSB0", "ftdi", "FT232R USB UART", "A50285BIA"),
               port("ttyUSB1", "Prolific", "USB-Serial Controller", "A50285BIA")}
        << QVector<FtdiDeviceRecord> {{"A50285BI", "Never shown"}} << true
        << "Ports ...\r\n"
           "  ttyUSB0 [/dev/ttyUSB0] [ftdi] [FT232R USB UART] [A50285BIA] \r\n"
           "  ttyUSB1 [/dev/ttyUSB1] [Prolific] [USB-Serial Controller] [A50285BIA] \r\n"
           "done.\r\n";
    QTest::newRow("FTDI anywhere in the manufacturer")
        << QVector<SerialPortEntry> {port("ttyUSB0", "Future FTDI Ltd", "FT232R", "ABCDEFGH")}
        << QVector<FtdiDeviceRecord> {{"ABCDEFGH", "Panel 1"}} << true
        << "Ports ...\r\n"
           "  ttyUSB0 [/dev/ttyUSB0] [Future FTDI Ltd] [Panel 1] [ABCDEFGH] \r\n"
           "done.\r\n";
}

void TestPortLister::report()
{
    QFETCH(QVector<SerialPortEntry>, ports);
    QFETCH(QVector<FtdiDeviceRecord>, ftdi);
    QFETCH(bool, ftdiAvailable);
    QFETCH(QString, expected);

    const GivenPorts givenPorts(ports);
    GivenFtdiDevices givenFtdi(ftdi, ftdiAvailable);
    const PortLister lister(givenPorts, givenFtdi);
    const QStringList lines = lister.reportLines();
    for (const QString &line : lines)
        QVERIFY2(line.endsWith("<br>"), qPrintable(line));
    QCOMPARE(ReportPrinter::toPlainText(lines.join(QString()), "\r\n"), expected);
}

void TestPortLister::ftdiDescription_data()
{
    QTest::addColumn<QString>("portSerialNumber");
    QTest::addColumn<QVector<FtdiDeviceRecord>>("records");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first 8 characters are the key")
        << "A50285BIA" << QVector<FtdiDeviceRecord> {{"A50285BI", "match"}} << "match";
    QTest::newRow("record longer than the key")
        << "FT4232HLX" << QVector<FtdiDeviceRecord> {{"FT4232HLB", "channel B"}} << "channel B";
    QTest::newRow("record shorter than the key does not match")
        << "A50285BIA" << QVector<FtdiDeviceRecord> {{"A5028", "short"}} << "";
    QTest::newRow("case-sensitive")
        << "a50285bi" << QVector<FtdiDeviceRecord> {{"A50285BI", "upper"}} << "";
    QTest::newRow("a later match replaces an earlier one")
        << "FTXY1234"
        << QVector<FtdiDeviceRecord> {{"FTXY1234A", "A"}, {"Z", "z"}, {"FTXY1234B", "B"}} << "B";
    QTest::newRow("records with an empty serial number are skipped")
        << "" << QVector<FtdiDeviceRecord> {{"", "in use"}} << "";
    QTest::newRow("a short port serial number is a short key")
        << "FT1" << QVector<FtdiDeviceRecord> {{"FT1ABCDE", "prefix"}} << "prefix";
    QTest::newRow("no records") << "A50285BI" << QVector<FtdiDeviceRecord>() << "";
}

void TestPortLister::ftdiDescription()
{
    QFETCH(QString, portSerialNumber);
    QFETCH(QVector<FtdiDeviceRecord>, records);
    QFETCH(QString, expected);

    const GivenPorts noPorts({});
    GivenFtdiDevices givenFtdi(records, true);
    const PortLister lister(noPorts, givenFtdi);
    QCOMPARE(lister.ftdiDescription(portSerialNumber), expected);
}

QTEST_GUILESS_MAIN(TestPortLister)
#include "tst_portlister.moc"
