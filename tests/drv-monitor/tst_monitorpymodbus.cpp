// qelDrvMonitor against pymodbus, which shares no code with it: a pymodbus
// client and a pymodbus device talk over a bus of pseudo-terminals, RTU and
// ASCII, and the monitor listening on the tap tells every transaction as the
// client saw it: what was asked and what came back.

#include "monitorprocess.h"
#include "ptybus.h"

#include <QtTest>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");
const QString Peer = QStringLiteral(QEL_PYMODBUS_PEER);

// The monitor's line for a client's "NAME | asked | answer".
QString monitorLine(const QString &clientLine)
{
    const QStringList parts = clientLine.split(QStringLiteral(" | "));
    QString answer = parts.at(2);
    if (answer == QLatin1String("exception 2"))
        answer += QStringLiteral(", Illegal data address");
    return QStringLiteral("address 1 ") + parts.at(0)
        + (parts.at(1).isEmpty() ? QString() : QLatin1Char(' ') + parts.at(1))
        + QStringLiteral(": ") + answer + QStringLiteral(" (");
}

} // namespace

class tst_monitorPymodbus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void clientAndDevice_data();
    void clientAndDevice();
};

void tst_monitorPymodbus::initTestCase()
{
    QProcess probe;
    probe.start(Python, {"-c", "import pymodbus"});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        QSKIP("Debian's python3-pymodbus is not installed (scripts/setup.sh installs it)");
}

void tst_monitorPymodbus::clientAndDevice_data()
{
    QTest::addColumn<QString>("framing");
    QTest::newRow("RTU") << "rtu";
    QTest::newRow("ASCII") << "ascii";
}

void tst_monitorPymodbus::clientAndDevice()
{
    QFETCH(QString, framing);
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));

    QProcess device;
    device.start(Python, {Peer, "server", bus.deviceLine(), framing});
    QVERIFY(device.waitForStarted(30000));
    QDeadlineTimer ready(60000);
    while (!device.canReadLine() && device.state() == QProcess::Running && !ready.hasExpired())
        device.waitForReadyRead(1000);
    QCOMPARE(device.readLine().trimmed(), QByteArray("ready"));

    // ASCII lines often run with seven data bits and even parity.
    QStringList arguments {"--port", bus.tapLine(), "--framing", framing.toUpper()};
    if (framing == "ascii")
        arguments << "--data_bit"
                  << "7"
                  << "--parity"
                  << "E";
    MonitorProcess lines(arguments);
    QString why;
    QVERIFY2(lines.start(&why), qPrintable(why));
    QProcess client;
    client.start(Python, {Peer, "client", bus.masterLine(), framing});
    QVERIFY(client.waitForFinished(120000));
    QCOMPARE(client.exitCode(), 0);
    const QStringList clientLines
        = QString::fromUtf8(client.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(clientLines.size(), 12);
    QVERIFY(lines.waitForOutput("Read Device Identification", 30000));
    QVERIFY(lines.stop(SIGINT));
    device.kill();
    device.waitForFinished(10000);
    QCOMPARE(lines.exitCode(), 0);

    const QString out = QString::fromUtf8(lines.out());
    int at = 0;
    for (const QString &clientLine : clientLines) {
        const QString expected = monitorLine(clientLine);
        const int found = out.indexOf(expected, at);
        QVERIFY2(found >= 0, qPrintable("missing in order: " + expected + "\n" + out));
        at = found + expected.size();
    }
    QVERIFY2(out.contains("Frames: 24\r\nTransactions: 12\r\nNoise bytes: 0\r\nErrors: 1\r\n"
                          " Illegal data address: 1\r\n"),
        qPrintable(out));
    QCOMPARE(bus.fromTap(), QByteArray());
}

QTEST_GUILESS_MAIN(tst_monitorPymodbus)
#include "tst_monitorpymodbus.moc"
