// The drivers on the lines beyond RTU and MBAP, against the simulator: RTU
// and ASCII frames through a gateway, ASCII on a serial line, MBAP inside
// TLS. Typed values and a range of 300 registers go out and come back, a
// macro is answered, hostile replies end with their cause, and command lines
// that cannot be right send nothing.

#include "devsim.h"
#include "programrun.h"
#include "testcertificates.h"
#include "wireframe.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

enum class Line { RtuTcp, AsciiTcp, AsciiSerial, Tls };

// An ASCII frame as the simulator logs it: the hex of its characters.
QString asciiLogged(const QString &hex)
{
    const QByteArray bytes = WireFrame::fromHex(hex);
    return WireFrame::toHex(':' + (bytes + char(WireFrame::lrc(bytes))).toHex().toUpper() + "\r\n");
}

class TestLines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void valuesOnEveryLine_data();
    void valuesOnEveryLine();
    void hostileReplies_data();
    void hostileReplies();
    void refusedCommandLines_data();
    void refusedCommandLines();

private:
    void addLineColumns();
    // The simulator's options for the line, besides its register options.
    QStringList simulatorLine(Line line) const;
    // A driver's connection options to the simulator on the line.
    QStringList driverLine(Line line, const DevSim &sim) const;
    ProgramResult run(const QString &driver, const QStringList &arguments) const;

    TestCertificates certificates;
};

} // namespace

Q_DECLARE_METATYPE(Line)

void TestLines::initTestCase()
{
    QVERIFY2(certificates.make(), qPrintable(certificates.errorString()));
}

QStringList TestLines::simulatorLine(Line line) const
{
    switch (line) {
    case Line::RtuTcp:
        return {"--framing", "RTU"};
    case Line::AsciiTcp:
    case Line::AsciiSerial:
        return {"--framing", "ASCII"};
    case Line::Tls:
        return certificates.simulatorOptions();
    }
    return {};
}

QStringList TestLines::driverLine(Line line, const DevSim &sim) const
{
    const QStringList tcp {"--ip", "127.0.0.1", "--port", QString::number(sim.tcpPort())};
    switch (line) {
    case Line::RtuTcp:
        return tcp + QStringList {"--framing", "RTU", "--address", "1"};
    case Line::AsciiTcp:
        return tcp + QStringList {"--framing", "ASCII", "--address", "1"};
    case Line::AsciiSerial:
        return {"--port", sim.ptyPath(), "--framing", "ASCII", "--address", "1", "--data_bit", "7",
            "--parity", "E"};
    case Line::Tls:
        return tcp + certificates.driverOptions();
    }
    return {};
}

ProgramResult TestLines::run(const QString &driver, const QStringList &arguments) const
{
    return runProgram(programPath(driver), arguments);
}

void TestLines::addLineColumns()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QString>("firstFrame"); // as the simulator logs it
}

void TestLines::valuesOnEveryLine_data()
{
    addLineColumns();
    const QString write = "01 10 01 F4 00 02 04 00 00 40 60";
    QTest::newRow("RTU over TCP") << Line::RtuTcp << WireFrame::rtu(write);
    QTest::newRow("ASCII over TCP") << Line::AsciiTcp << asciiLogged(write);
    QTest::newRow("ASCII on a serial line, 7E1") << Line::AsciiSerial << asciiLogged(write);
    QTest::newRow("TLS") << Line::Tls << "00 01 00 00 00 0B FF 10 01 F4 00 02 04 00 00 40 60";
}

// Typed writes and reads, a block of 300 registers in requests of 120 and
// back, and a macro with its answer, each through the real drivers.
void TestLines::valuesOnEveryLine()
{
    QFETCH(Line, line);
    QFETCH(QString, firstFrame);

    DevSim sim(simulatorLine(line));
    QVERIFY2(
        line == Line::AsciiSerial ? sim.startRtu() : sim.startTcp(), qPrintable(sim.startError()));
    const QStringList connection = driverLine(line, sim);

    struct Step
    {
        QStringList arguments;
        QByteArray out;
    };
    QStringList block;
    for (int i = 0; i < 300; ++i)
        block.append(QString::number((i * 211 + 5) & 0xFFFF));
    const QList<Step> steps {
        {{"--write_f32", "500", "--data", "3.5"}, ""},
        {{"--read_f32", "500"}, "3.5\r\n"},
        {{"--write_s32", "502", "--data", "-123456789"}, ""},
        {{"--read_s32", "502"}, "-123456789\r\n"},
        {{"--write_u16", "504", "--data", "65535"}, ""},
        {{"--read_u16", "504"}, "65535\r\n"},
        {{"--write", "1000", "--data", "[" + block.join(',') + "]"}, ""},
        // After the progress bar.
        {{"--read", "1000", "--range", "300", "--display", "DEC"},
            "100 %\r\n" + block.join(',').toLatin1()},
    };
    for (const Step &step : steps) {
        const ProgramResult result = run("qelDrvModbus", connection + step.arguments);
        QVERIFY2(result.finished && result.exitCode == 0, result.err.constData());
        if (step.out.startsWith("100 %"))
            QVERIFY2(result.out.endsWith(step.out), result.out.right(200).constData());
        else if (!step.out.isEmpty())
            QCOMPARE(QString(result.out), QString(step.out));
    }
    QCOMPARE(sim.holding(500), quint16(0x0000));
    QCOMPARE(sim.holding(501), quint16(0x4060));
    QCOMPARE(sim.holding(1299), quint16((299 * 211 + 5) & 0xFFFF));
    QCOMPARE(sim.requestLog().value(0), firstFrame);

    const ProgramResult macro = run(
        "qelDrvMacro", connection + QStringList {"--macro", "FD_MACRO_GET_SN", "--param", ""});
    QCOMPARE(macro.exitCode, 0);
    QCOMPARE(QString(macro.out), QString("macro [ FD_MACRO_GET_SN ] OK\r\n12345\r\n"));
    if (line == Line::Tls)
        QVERIFY2(
            sim.tlsLog().value(0).endsWith("role=Operator"), qPrintable(sim.tlsLog().join('\n')));
}

void TestLines::hostileReplies_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause");
    QTest::newRow("RTU over TCP: another address's frame") << Line::RtuTcp << "other-address=5"
                                                           << "Response not from requested slave";
    QTest::newRow("RTU over TCP: CRC error through the gateway") << Line::RtuTcp << "bad-crc"
                                                                 << "Invalid CRC";
    QTest::newRow("ASCII over TCP: bad LRC") << Line::AsciiTcp << "bad-crc"
                                             << "Invalid LRC";
    QTest::newRow("ASCII over TCP: another address's frame") << Line::AsciiTcp << "other-address=9"
                                                             << "Response not from requested slave";
    QTest::newRow("ASCII on a serial line: a truncated frame")
        << Line::AsciiSerial << "partial=9"
        << "The device's reply was incomplete after";
    QTest::newRow("TLS: the server drops the connection") << Line::Tls << "drop"
                                                          << "unexpected eof while reading";
    // The whole reply is due 4 s after the request; these take 6 s and 10 s.
    QTest::newRow("RTU over TCP: a trickle") << Line::RtuTcp << "trickle=1000"
                                             << "The device's reply was incomplete";
    QTest::newRow("TLS: a trickle") << Line::Tls << "trickle=1000"
                                    << "The device's reply was incomplete";
    // One byte in each TLS record, all within the time: read whole.
    QTest::newRow("TLS: a quick trickle") << Line::Tls << "trickle=50"
                                          << "";
}

void TestLines::hostileReplies()
{
    QFETCH(Line, line);
    QFETCH(QString, fault);
    QFETCH(QString, cause);

    DevSim sim(simulatorLine(line) + QStringList {"--holding", "100=4660", "--fault", fault});
    QVERIFY2(
        line == Line::AsciiSerial ? sim.startRtu() : sim.startTcp(), qPrintable(sim.startError()));
    const ProgramResult result
        = run("qelDrvModbus", driverLine(line, sim) + QStringList {"--read_u16", "100"});
    if (cause.isEmpty()) {
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(QString(result.out), QString("4660\r\n"));
        return;
    }
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(QString(result.out), QString("0\r\n"));
    QVERIFY2(result.err.contains(cause.toUtf8()), result.err.constData());
}

void TestLines::refusedCommandLines_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QStringList>(
        "arguments"); // CERT, KEY, CA, FIFO, PORT stand for files and the port
    QTest::addColumn<QString>("err");

    const QStringList read {"--read_u16", "0"};
    const QStringList tls {"--ip", "127.0.0.1", "--port", "PORT", "--tls"};
    const QStringList files {"--cert", "CERT", "--key", "KEY", "--ca", "CA"};
    QTest::newRow("TLS without its files")
        << "qelDrvModbus" << tls + read << "Required parameters:\n --cert\n --key\n --ca\n";
    QTest::newRow("TLS without an address")
        << "qelDrvMacro"
        << QStringList {"--tls"} + files + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", ""}
        << "Required parameters:\n --ip\n";
    QTest::newRow("a gateway without a device address")
        << "qelDrvModbus"
        << QStringList {"--ip", "127.0.0.1", "--port", "PORT", "--framing", "RTU"} + read
        << "Required parameters:\n --address\n";
    QTest::newRow("any unit through a gateway") << "qelDrvModbus"
                                                << QStringList {"--ip", "127.0.0.1", "--port",
                                                       "PORT", "--framing", "ASCII", "--address",
                                                       "255"}
            + read << "Invalid parameters:\n 255 is not a device address: 0..247\n";
    QTest::newRow("a framing of none")
        << "qelDrvModbus"
        << QStringList {"--ip", "127.0.0.1", "--port", "PORT", "--framing", "MBAP"} + read
        << "Invalid parameters:\n MBAP is not a member of: RTU ASCII\n";
    QTest::newRow("a framing with TLS")
        << "qelDrvModbus" << tls + files + QStringList {"--framing", "RTU"} + read
        << "Invalid parameters:\n --framing cannot be used with --tls\n";
    QTest::newRow("a certificate without TLS")
        << "qelDrvModbus"
        << QStringList {"--ip", "127.0.0.1", "--port", "PORT", "--cert", "CERT"} + read
        << "Invalid parameters:\n CERT is used only with --tls\n";
    QTest::newRow("7 data bits on RTU")
        << "qelDrvModbus"
        << QStringList {"--port", "PTY", "--address", "1", "--data_bit", "7"} + read
        << "Invalid parameters:\n 7 is not a member of: 8\n";
    QTest::newRow("a FIFO, a folder and nothing as files")
        << "qelDrvMacro"
        << tls
            + QStringList {"--cert", "FIFO", "--key", ".", "--ca", "missing.pem", "--macro",
                "FD_MACRO_LOGOUT", "--param", ""}
        << "Invalid parameters:\n FIFO cannot be read: Not a regular file\n . cannot be read: Is a "
           "directory\n missing.pem cannot be read: No such file or directory\n";
    QTest::newRow("a key that is not the certificate's")
        << "qelDrvModbus"
        << tls + QStringList {"--cert", "CERT", "--key", "OTHERKEY", "--ca", "CA"} + read
        << "Connection fails: private key: key values mismatch\n";
}

// Each ends with status -1 and its message before a byte reaches the
// simulator: it logs no frame and no TLS handshake.
void TestLines::refusedCommandLines()
{
    QFETCH(QString, driver);
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);

    const QByteArray fifo = QFile::encodeName(certificates.path("fifo"));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0 || errno == EEXIST);
    DevSim tcp(simulatorLine(Line::Tls));
    QVERIFY2(tcp.startTcp(), qPrintable(tcp.startError()));
    DevSim serial;
    QVERIFY2(serial.startRtu(), qPrintable(serial.startError()));
    const QMap<QString, QString> stands {{"PORT", QString::number(tcp.tcpPort())},
        {"PTY", serial.ptyPath()}, {"CERT", certificates.path("client.pem")},
        {"KEY", certificates.path("client.key")}, {"OTHERKEY", certificates.path("server.key")},
        {"CA", certificates.path("ca.pem")}, {"FIFO", certificates.path("fifo")}};
    for (QString &argument : arguments)
        argument = stands.value(argument, argument);
    for (const char *name : {"CERT", "FIFO"})
        err.replace(name, stands.value(name));

    const ProgramResult result = run(driver, arguments);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(QString(result.err), err);
    QCOMPARE(tcp.requestLog(), QStringList());
    QCOMPARE(tcp.tlsLog(), QStringList());
    QCOMPARE(serial.requestLog(), QStringList());
}

QTEST_GUILESS_MAIN(TestLines)
#include "tst_lines.moc"
