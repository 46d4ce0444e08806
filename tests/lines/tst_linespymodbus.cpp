// The new lines against pymodbus, which shares no code with the engine or
// the simulator: the drivers against pymodbus servers (RTU and ASCII framers
// over TCP, ASCII on a serial line, its socket framer inside TLS) and
// pymodbus clients against the simulator on the same lines, each writing and
// reading back typed values and a range of 300 registers.

#include "devsim.h"
#include "peerprocess.h"
#include "programrun.h"
#include "ptybus.h"
#include "serveddriver.h"
#include "tcprelay.h"
#include "testcertificates.h"

#include <QtTest>

#include <memory>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

QString script()
{
    return QStringLiteral(QEL_PYMODBUS_LINES);
}

enum class Kind { RtuTcp, AsciiTcp, AsciiSerial, Tls, Mbap };

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Mbap:
        return "mbap";
    case Kind::RtuTcp:
        return "rtu-tcp";
    case Kind::AsciiTcp:
        return "ascii-tcp";
    case Kind::AsciiSerial:
        return "ascii-serial";
    case Kind::Tls:
        return "tls";
    }
    return "";
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestLinesPymodbus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void driversAgainstPymodbus_data();
    void driversAgainstPymodbus();
    void servedDriverAgainstPymodbus_data();
    void servedDriverAgainstPymodbus();
    void pymodbusAgainstSimulator_data();
    void pymodbusAgainstSimulator();
    void tlsFailuresAgainstPymodbus_data();
    void tlsFailuresAgainstPymodbus();
    void pymodbusClientWithoutCertificate();

private:
    void addKinds();
    QStringList files(const QString &certificate, const QString &key) const
    {
        return {
            certificates.path(certificate), certificates.path(key), certificates.path("ca.pem")};
    }
    // Starts a pymodbus server of the kind; the driver's options to reach it.
    QStringList startServer(PeerProcess &server, Kind kind, PtyBus &bus,
        const QString &serverCertificate = "server.pem", const QString &serverKey = "server.key");

    TestCertificates certificates;
};

void TestLinesPymodbus::initTestCase()
{
    QVERIFY2(certificates.make(), qPrintable(certificates.errorString()));
}

void TestLinesPymodbus::addKinds()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("RTU over TCP") << Kind::RtuTcp;
    QTest::newRow("ASCII over TCP") << Kind::AsciiTcp;
    QTest::newRow("ASCII on a serial line") << Kind::AsciiSerial;
    QTest::newRow("TLS") << Kind::Tls;
}

QStringList TestLinesPymodbus::startServer(PeerProcess &server, Kind kind, PtyBus &bus,
    const QString &serverCertificate, const QString &serverKey)
{
    QStringList arguments {script(), "server", kindName(kind)};
    if (kind == Kind::AsciiSerial) {
        if (!bus.start())
            return {};
        arguments << bus.deviceLine();
    }
    if (kind == Kind::Tls)
        arguments += files(serverCertificate, serverKey);
    server.start(Python, arguments);
    const QString ready = server.waitForLine("ready");
    if (ready.isEmpty())
        return {};
    const QStringList tcp {"--ip", "127.0.0.1", "--port", ready.section(' ', 1)};
    switch (kind) {
    case Kind::Mbap:
        return tcp + QStringList {"--address", "1"};
    case Kind::RtuTcp:
        return tcp + QStringList {"--framing", "RTU", "--address", "1"};
    case Kind::AsciiTcp:
        return tcp + QStringList {"--framing", "ASCII", "--address", "1"};
    case Kind::AsciiSerial:
        return {"--port", bus.masterLine(), "--framing", "ASCII", "--address", "1"};
    case Kind::Tls:
        return tcp + certificates.driverOptions();
    }
    return {};
}

void TestLinesPymodbus::driversAgainstPymodbus_data()
{
    addKinds();
}

namespace {

// Requests of typed values and a range, with the end of their output;
// pymodbus holds N in holding register N and N + 7 in input register N.
QList<QPair<QStringList, QByteArray>> pymodbusSteps()
{
    QStringList range;
    for (int i = 0; i < 300; ++i)
        range.append(QString::number(40 + i));
    return {
        {{"--write_f32", "500", "--data", "3.5"}, ""},
        {{"--read_f32", "500"}, "3.5\r\n"},
        {{"--write_s32", "502", "--data", "-123456789"}, ""},
        {{"--read_s32", "502"}, "-123456789\r\n"},
        {{"--readIn_u16", "10"}, "17\r\n"},
        {{"--read", "40", "--range", "300", "--display", "DEC"}, range.join(',').toLatin1()},
    };
}

} // namespace

void TestLinesPymodbus::driversAgainstPymodbus()
{
    QFETCH(Kind, kind);
    PeerProcess server;
    PtyBus bus;
    const QStringList connection = startServer(server, kind, bus);
    QVERIFY2(!connection.isEmpty(), qPrintable(server.errors()));

    for (const auto &step : pymodbusSteps()) {
        const ProgramResult result
            = runProgram(programPath("qelDrvModbus"), connection + step.first);
        QVERIFY2(result.finished && result.exitCode == 0, result.err.constData());
        QVERIFY2(result.out.endsWith(step.second), result.out.right(200).constData());
    }
    const QStringList accesses = server.lines();
    QVERIFY2(accesses.contains("set hr 500 0,16480"), qPrintable(accesses.join('\n')));
    QVERIFY2(accesses.contains("set hr 502 13035,63652"), qPrintable(accesses.join('\n')));
    QVERIFY2(accesses.contains("get hr 160 120"), qPrintable(accesses.join('\n')));
}

void TestLinesPymodbus::servedDriverAgainstPymodbus_data()
{
    addKinds();
    QTest::newRow("MBAP") << Kind::Mbap;
}

// The same requests one-shot, then served over one line kept open: byte for
// byte the same output, and pymodbus sees each request's accesses again.
void TestLinesPymodbus::servedDriverAgainstPymodbus()
{
    QFETCH(Kind, kind);
    PeerProcess server;
    PtyBus bus;
    const QStringList connection = startServer(server, kind, bus);
    QVERIFY2(!connection.isEmpty(), qPrintable(server.errors()));

    QList<ProgramResult> once;
    for (const auto &step : pymodbusSteps()) {
        once << runProgram(programPath("qelDrvModbus"), connection + step.first);
        QVERIFY2(once.last().finished && once.last().exitCode == 0, once.last().err.constData());
        QVERIFY(once.last().out.endsWith(step.second));
    }
    const int accessesOnce = server.lines().filter(QRegularExpression("^(get|set) ")).size();

    ServedDriver served;
    QVERIFY2(
        served.start(programPath("qelDrvModbus"), connection), served.startError().constData());
    for (int i = 0; i < once.size(); ++i) {
        const ServedDriver::Answer answer
            = served.request(pymodbusSteps().at(i).first.join(' ').toUtf8());
        QVERIFY(answer.answered && answer.wellFormed);
        QCOMPARE(answer.out, once.at(i).out);
        QCOMPARE(answer.err, once.at(i).err);
        QCOMPARE(answer.status, once.at(i).exitCode);
    }
    served.closeInput();
    QVERIFY(served.waitForEnd());
    QCOMPARE(served.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(
        server.lines().filter(QRegularExpression("^(get|set) ")).size(), 2 * accessesOnce, 10000);
}

void TestLinesPymodbus::pymodbusAgainstSimulator_data()
{
    addKinds();
}

void TestLinesPymodbus::pymodbusAgainstSimulator()
{
    QFETCH(Kind, kind);
    QStringList options {"--input", "0=7,8"};
    if (kind == Kind::Tls)
        options += QStringList {"--tls"} + files("server.pem", "server.key");
    else
        options += QStringList {"--framing", kind == Kind::RtuTcp ? "RTU" : "ASCII"};
    DevSim sim(options);
    QVERIFY2(
        kind == Kind::AsciiSerial ? sim.startRtu() : sim.startTcp(), qPrintable(sim.startError()));
    QStringList arguments {script(), "client", kindName(kind),
        kind == Kind::AsciiSerial ? sim.ptyPath() : QString::number(sim.tcpPort())};
    if (kind == Kind::Tls)
        arguments += files("client.pem", "client.key");
    const ProgramResult client = runProgram(Python, arguments);
    QVERIFY2(client.finished && client.exitCode == 0, client.err.constData());
    QCOMPARE(QString::fromUtf8(client.out).split('\n', Qt::SkipEmptyParts),
        QStringList({"write f32 | OK", "read f32 | 3.5", "write s32 | OK", "read s32 | -123456789",
            "write range 1000 | OK", "write range 1100 | OK", "write range 1200 | OK",
            "read range | 300 registers, as written", "read input | [7, 8]",
            "exception | exception 2"}));
    QCOMPARE(sim.holding(2001), quint16(0x4060));
    QCOMPARE(sim.holding(1299), quint16(3 * 1299 + 1));
}

void TestLinesPymodbus::tlsFailuresAgainstPymodbus_data()
{
    QTest::addColumn<QString>("serverCertificate");
    QTest::addColumn<QString>("serverKey");
    QTest::addColumn<QStringList>("clientFiles"); // certificate, key, authorities
    QTest::addColumn<QString>("cause");
    QTest::addColumn<bool>("connects");
    const QStringList client {"client.pem", "client.key", "ca.pem"};
    QTest::newRow("server of another authority")
        << "other-server.pem"
        << "other-server.key" << client << "Connection fails: certificate verify failed: " << true;
    QTest::newRow("expired server certificate")
        << "expired-server.pem"
        << "server.key" << client
        << "Connection fails: certificate verify failed: certificate has expired" << true;
    QTest::newRow("client of another authority")
        << "server.pem"
        << "server.key" << QStringList {"other-client.pem", "other-client.key", "ca.pem"} << ""
        << true;
    QTest::newRow("a key that is not the certificate's")
        << "server.pem"
        << "server.key" << QStringList {"client.pem", "server.key", "ca.pem"}
        << "Connection fails: private key: key values mismatch" << false;
}

// Each fails with status -1 and its cause; pymodbus sees no register access,
// and what went over the wire is TLS: from a handshake record on, without
// the request in the clear.
void TestLinesPymodbus::tlsFailuresAgainstPymodbus()
{
    QFETCH(QString, serverCertificate);
    QFETCH(QString, serverKey);
    QFETCH(QStringList, clientFiles);
    QFETCH(QString, cause);
    QFETCH(bool, connects);

    PeerProcess server;
    PtyBus unused;
    QStringList connection = startServer(server, Kind::Tls, unused, serverCertificate, serverKey);
    QVERIFY2(!connection.isEmpty(), qPrintable(server.errors()));
    for (int i = 0; i < 3; ++i)
        connection[connection.size() - 5 + 2 * i] = certificates.path(clientFiles.at(i));
    TcpRelay wire(connection.at(3).toInt());
    QVERIFY(wire.isListening());
    connection[3] = QString::number(wire.port());
    const ProgramResult result
        = runProgram(programPath("qelDrvModbus"), connection + QStringList {"--read_u16", "7"});
    QCOMPARE(result.exitCode, ExitFailure);
    QVERIFY2(result.err.startsWith(cause.toUtf8()), result.err.constData());
    QVERIFY2(!result.err.trimmed().isEmpty(), "no cause");
    const QStringList accesses = server.lines();
    QCOMPARE(accesses.filter(QRegularExpression("^(get|set) ")), QStringList());
    // A key that does not fit its certificate connects to no one.
    const QByteArray sent = wire.clientBytes();
    QCOMPARE(sent.startsWith('\x16'), connects);
    QCOMPARE(sent.isEmpty(), !connects);
    // Unit 255, function 3, register 7, one register.
    QVERIFY(!sent.contains(QByteArray::fromHex("FF0300070001")));
}

// The simulator requires a certificate: it refuses the handshake, says why
// in its TLS log and carries out nothing.
void TestLinesPymodbus::pymodbusClientWithoutCertificate()
{
    DevSim sim(QStringList {"--tls"} + files("server.pem", "server.key"));
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const ProgramResult client = runProgram(Python,
        {script(), "client", "tls", QString::number(sim.tcpPort()), "", "",
            certificates.path("ca.pem")});
    QVERIFY(client.finished);
    QVERIFY2(!client.out.contains("| OK"), client.out.constData());
    QTRY_VERIFY_WITH_TIMEOUT(!sim.tlsLog().isEmpty(), 10000);
    QVERIFY2(sim.tlsLog().first().contains("did not present any certificate"),
        qPrintable(sim.tlsLog().join('\n')));
    QCOMPARE(sim.requestLog(), QStringList());
}

QTEST_GUILESS_MAIN(TestLinesPymodbus)
#include "tst_linespymodbus.moc"
