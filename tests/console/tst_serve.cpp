// qelDrvModbus and qelDrvMacro with "--serve" against the device simulator:
// every request gets what the same one-shot run gives, on one connection;
// bad request lines are refused and nothing is sent; a line that drops is
// opened again at the next request and nothing is sent twice; the server
// ends at the end of its input, at SIGTERM and when its reader has gone.

#include "argumentline.h"
#include "devsim.h"
#include "programrun.h"
#include "serveddriver.h"
#include "testcertificates.h"

#include <QtTest>

#include <csignal>

namespace {

enum class Line { Tcp, Rtu, Tls };

const QString modbusDriver = QStringLiteral("qelDrvModbus");
const QString macroDriver = QStringLiteral("qelDrvMacro");

// A simulator's request log without the transaction identifiers of its TCP
// frames, which count the requests of one connection.
QStringList withoutTransactions(const QStringList &frames, Line line)
{
    if (line == Line::Rtu)
        return frames;
    QStringList pdus;
    for (const QString &frame : frames)
        pdus << frame.mid(6);
    return pdus;
}

class TestServe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void sameAsOneShot_data();
    void sameAsOneShot();
    void lineThatCannotOpenEndsTheServer();
    void refusedAtReopenAsOneShot();
    void serveLineTakesLineOptionsOnly_data();
    void serveLineTakesLineOptionsOnly();
    void oneConnectionForManyRequests();
    void oneHandshakeForManyTlsRequests();
    void badRequestLines_data();
    void badRequestLines();
    void lineCutOffByTheEndOfInput();
    void droppedRequestFailsAndIsNotSentAgain();
    void connectionClosedBetweenRequests_data();
    void connectionClosedBetweenRequests();
    void vanishedSerialLine();
    void stopSignalWhileWaiting();
    void stopSignalDuringARequest();
    void readerThatGoesAwayEndsTheServer();

private:
    QStringList simulatorLine(Line line) const;
    QStringList driverLine(Line line, const DevSim &sim) const;
    bool startSim(DevSim &sim, Line line) const;

    TestCertificates certificates;
};

} // namespace

Q_DECLARE_METATYPE(Line)

void TestServe::initTestCase()
{
    QVERIFY2(certificates.make(), qPrintable(certificates.errorString()));
}

QStringList TestServe::simulatorLine(Line line) const
{
    return line == Line::Tls ? certificates.simulatorOptions() : QStringList();
}

QStringList TestServe::driverLine(Line line, const DevSim &sim) const
{
    const QStringList tcp {"--ip", "127.0.0.1", "--port", QString::number(sim.tcpPort())};
    switch (line) {
    case Line::Tcp:
        return tcp;
    case Line::Rtu:
        return {"--port", sim.ptyPath(), "--address", "1", "--baudrate", "115200"};
    case Line::Tls:
        return tcp + certificates.driverOptions();
    }
    return {};
}

bool TestServe::startSim(DevSim &sim, Line line) const
{
    return line == Line::Rtu ? sim.startRtu() : sim.startTcp();
}

void TestServe::sameAsOneShot_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<Line>("line");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QStringList>("request");

    const QStringList registers {"--no-macros", "--demo"};
    const auto row = [&](const char *name, Line line, const QStringList &sim,
                         const QStringList &request, const QString &driver = modbusDriver) {
        QTest::newRow(name) << driver << line << sim << request;
    };
    row("typed read", Line::Tcp, registers, {"--read_u16", "100"});
    row("typed read over RTU", Line::Rtu, registers, {"--read_s32", "104"});
    row("float in hexadecimal", Line::Tcp, registers, {"--read_f32", "106", "--display", "HEX"});
    row("input register", Line::Tcp, registers, {"--readIn_s16", "3"});
    row("range with progress bars", Line::Tcp, registers,
        {"--read", "0", "--range", "250", "--display", "HEX", "--fdelay", "0"});
    row("input range in decimal", Line::Rtu, registers,
        {"--readIn", "0", "--range", "20", "--display", "DEC"});
    row("typed write", Line::Tcp, registers, {"--write_u32", "0", "--data", "0x11223344"});
    row("block write", Line::Rtu, registers, {"--write", "5", "--data", "[1,2,3]"});
    row("nothing to do", Line::Tcp, registers, {});
    row("value out of range", Line::Tcp, registers, {"--read_u16", "70000"});
    row("unknown option", Line::Tcp, registers, {"--write_u61", "5", "--data", "3"});
    row("missing data", Line::Tcp, registers, {"--write_u16", "5"});
    row("help", Line::Tcp, registers, {"--help"});
    row("device exception", Line::Tcp,
        registers + QStringList {"--fault", "exception=2,function=3"}, {"--read_u16", "100"});
    row("silent device", Line::Tcp, registers + QStringList {"--fault", "silent,function=3"},
        {"--read_u16", "100"});
    row("damaged CRC", Line::Rtu, registers + QStringList {"--fault", "bad-crc,function=3"},
        {"--read_u32", "102"});
    row("connection dropped mid-run", Line::Tcp,
        registers + QStringList {"--fault", "drop,function=16"},
        {"--write_u16", "7", "--data", "9"});
    row("stale reply", Line::Tcp, registers + QStringList {"--fault", "bad-transaction,function=4"},
        {"--readIn_u16", "0"});
    row("read over TLS", Line::Tls, registers, {"--read_u16", "100"});

    const QStringList device {"--sn", "54321"};
    row("macro", Line::Tcp, device, {"--macro", "FD_MACRO_LOGIN", "--param", "1 7305"},
        macroDriver);
    row("data-returning macro", Line::Rtu, device, {"--macro", "FD_MACRO_GET_SN", "--param", ""},
        macroDriver);
    row("macro parameters refused", Line::Tcp, device,
        {"--macro", "FD_MACRO_LOGIN", "--param", "1\t7305"}, macroDriver);
    row("macro missing its parameters", Line::Tcp, device, {"--macro", "FD_MACRO_LOGOUT"},
        macroDriver);
    row("macro exception", Line::Tcp, device + QStringList {"--fault", "exception=1,function=0x41"},
        {"--macro", "FD_MACRO_GET_SN", "--param", ""}, macroDriver);
}

void TestServe::sameAsOneShot()
{
    QFETCH(QString, driver);
    QFETCH(Line, line);
    QFETCH(QStringList, simOptions);
    QFETCH(QStringList, request);

    DevSim sim(simulatorLine(line) + simOptions);
    QVERIFY2(startSim(sim, line), qPrintable(sim.startError()));
    const QStringList lineOptions = driverLine(line, sim);
    const ProgramResult once = runProgram(programPath(driver), lineOptions + request);
    QVERIFY(once.finished);
    const QStringList sentOnce = sim.requestLog();

    ServedDriver server;
    QVERIFY2(server.start(programPath(driver), lineOptions), server.startError().constData());
    // Twice: a request leaves nothing behind that changes the next one.
    for (int round = 0; round < 2; ++round) {
        const ServedDriver::Answer answer = server.request(ArgumentLine::join(request).toUtf8());
        QVERIFY(answer.answered);
        QVERIFY(answer.wellFormed);
        QCOMPARE(answer.out, once.out);
        QCOMPARE(answer.err, once.err);
        QCOMPARE(answer.status, once.exitCode);
    }
    // The same frames went out, each once per request.
    const QStringList sent = sim.requestLog();
    QCOMPARE(withoutTransactions(sent.mid(sentOnce.size(), sentOnce.size()), line),
        withoutTransactions(sentOnce, line));
    QCOMPARE(withoutTransactions(sent.mid(2 * sentOnce.size()), line),
        withoutTransactions(sentOnce, line));
    server.closeInput();
    QVERIFY(server.waitForEnd());
    QCOMPARE(server.exitCode(), 0);
    QVERIFY(!server.crashed());
}

void TestServe::lineThatCannotOpenEndsTheServer()
{
    // Nothing listens on the port: the server ends as the one-shot run does,
    // with its message, before any request.
    DevSim sim;
    QVERIFY(sim.startTcp());
    const QStringList lineOptions = driverLine(Line::Tcp, sim);
    sim.stop();
    const QStringList read {"--read_u16", "1"};
    const ProgramResult once = runProgram(programPath(modbusDriver), lineOptions + read);
    QCOMPARE(once.exitCode, ExitFailure);
    QVERIFY(once.err.startsWith("Connection fails: "));

    ServedDriver server;
    QVERIFY(!server.start(programPath(modbusDriver), lineOptions));
    QVERIFY(server.waitForEnd());
    QCOMPARE(server.exitCode(), ExitFailure);
    QCOMPARE(server.startOutput(), QByteArray());
    QCOMPARE(server.startError(), once.err);
}

void TestServe::refusedAtReopenAsOneShot()
{
    // The device goes away between requests: the next request finds the
    // line closed, cannot open it again and is answered as a one-shot run
    // against the same port is; the server goes on.
    auto sim = std::make_unique<DevSim>(QStringList {"--no-macros", "--holding", "1=5"});
    QVERIFY(sim->startTcp());
    const QStringList lineOptions = driverLine(Line::Tcp, *sim);
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), lineOptions));
    QCOMPARE(server.request("--read_u16 1").out, QByteArray("5\r\n"));
    sim.reset();
    const QStringList read {"--read_u16", "1"};
    const ProgramResult once = runProgram(programPath(modbusDriver), lineOptions + read);
    QCOMPARE(once.exitCode, ExitFailure);
    QVERIFY2(once.err.startsWith("Connection fails: "), once.err.constData());
    for (int i = 0; i < 2; ++i) {
        const ServedDriver::Answer answer = server.request("--read_u16 1");
        QVERIFY(answer.answered);
        QCOMPARE(answer.out, once.out);
        QCOMPARE(answer.err, once.err);
        QCOMPARE(answer.status, once.exitCode);
    }
    QVERIFY(server.isRunning());
}

void TestServe::serveLineTakesLineOptionsOnly_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");
    const QStringList tcp {"--ip", "127.0.0.1", "--port", "1"};
    QTest::newRow("an operation") << modbusDriver << tcp + QStringList {"--read_u16", "5"}
                                  << QByteArray(
                                         "Invalid parameters:\n --read_u16 belongs to a "
                                         "request: with --serve it comes on standard input\n");
    QTest::newRow("a macro") << macroDriver
                             << tcp + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", ""}
                             << QByteArray("Invalid parameters:\n --macro belongs to a request: "
                                           "with --serve it comes on standard input\n --param "
                                           "belongs to a request: with --serve it comes on "
                                           "standard input\n");
    QTest::newRow("a bad port") << modbusDriver
                                << QStringList {"--ip", "127.0.0.1", "--port", "0x1F6"}
                                << QByteArray("Invalid parameters:\n 0x1F6 is not a decimal "
                                              "whole number from 1 to 65535\n");
    QTest::newRow("a serial line without its address")
        << macroDriver << QStringList {"--port", "/dev/null"}
        << QByteArray("Required parameters:\n --address\n");
    QTest::newRow("an unknown option") << modbusDriver << tcp + QStringList {"--sreve"}
                                       << QByteArray("Invalid parameters:\n Unknown option: "
                                                     "--sreve\n");
}

void TestServe::serveLineTakesLineOptionsOnly()
{
    QFETCH(QString, driver);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    const ProgramResult run
        = runProgram(programPath(driver), arguments + QStringList {"--serve"}, 30000, "--help\n");
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, ExitFailure);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, error);
}

void TestServe::oneConnectionForManyRequests()
{
    DevSim sim({"--no-macros", "--holding", "100=0", "--count-holding", "100"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Tcp, sim)));
    for (int i = 0; i < 100; ++i) {
        const ServedDriver::Answer answer = server.request("--read_u16 100");
        QVERIFY(answer.answered);
        QCOMPARE(answer.out, QByteArray::number(i) + "\r\n");
        QCOMPARE(answer.status, 0);
    }
    // A traced request shows its frames; its transaction is the 101st.
    const ServedDriver::Answer traced = server.request("--read_u16 100 --verbose 1");
    QVERIFY(traced.out.contains("[00][65][00][00][00][06][FF][03][00][64][00][01]\n"));
    QVERIFY(traced.out.endsWith("100\r\n"));
    QCOMPARE(sim.connectionLog().size(), 1);
    QCOMPARE(sim.requestLog().size(), 101);
    QCOMPARE(sim.requestLog().value(99), QString("00 64 00 00 00 06 FF 03 00 64 00 01"));
}

void TestServe::oneHandshakeForManyTlsRequests()
{
    DevSim sim(simulatorLine(Line::Tls) + QStringList {"--no-macros", "--holding", "7=42"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY2(server.start(programPath(modbusDriver), driverLine(Line::Tls, sim)),
        server.startError().constData());
    for (int i = 0; i < 100; ++i) {
        const ServedDriver::Answer answer = server.request("--read_u16 7");
        QVERIFY(answer.answered);
        QCOMPARE(answer.out, QByteArray("42\r\n"));
    }
    server.closeInput();
    QVERIFY(server.waitForEnd());
    QCOMPARE(server.exitCode(), 0);
    QCOMPARE(sim.tlsLog().size(), 1);
    QVERIFY(sim.tlsLog().value(0).startsWith("accepted "));
    QCOMPARE(sim.connectionLog().size(), 1);
    QCOMPARE(sim.requestLog().size(), 100);
}

void TestServe::badRequestLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("error");
    const QByteArray notRun = "Invalid parameters:\n the request line ";
    QTest::newRow("10 MB") << QByteArray(10 * 1024 * 1024, '1')
                           << notRun + "is longer than 1048576 bytes and was not run\n";
    const QByteArray control = notRun + "holds a control character and was not run\n";
    QTest::newRow("a NUL byte") << QByteArray("--write_u16 5 --data 1") + '\0' + " 2" << control;
    QTest::newRow("a carriage return inside")
        << QByteArray("--write_u16 5 --data 1\r--write_u16 6 --data 2") << control;
    QTest::newRow("an escape sequence") << QByteArray("--write_u16 5 --data 1 \x1b[2K") << control;
    QTest::newRow("a control character in a value")
        << QByteArray("--write_u16 5 --data 1\x01") << control;
    QTest::newRow("DEL") << QByteArray("--write_u16 5 --data 1\x7f") << control;
    QTest::newRow("a stray --serve")
        << QByteArray("--write_u16 5 --data 1 --serve")
        << QByteArray("Invalid parameters:\n --serve belongs to the server's command line, not "
                      "to a request\n");
    QTest::newRow("another port") << QByteArray("--port 503 --write_u16 5 --data 1")
                                  << QByteArray("Invalid parameters:\n --port belongs to the "
                                                "server's command line, not to a request\n");
    QTest::newRow("a line option as a value")
        << QByteArray("--write_u16 --ip --data 1")
        << QByteArray("Invalid parameters:\n --ip belongs to the server's command line, not to "
                      "a request\n");
    QTest::newRow("another device") << QByteArray("--address 7 --write_u16 5 --data 1")
                                    << QByteArray("Invalid parameters:\n --address belongs to "
                                                  "the server's command line, not to a request\n");
    // As the one-shot run answers the same arguments.
    QTest::newRow("not UTF-8") << QByteArray("--write_u16 5 --data \xff\xfe")
                               << QByteArray("Invalid parameters:\n \xff\xfe is not a number\n");
    QTest::newRow("a quote left open")
        << QByteArray("--write_u16 \"5 --data 1") << QByteArray("Required parameters:\n --data\n");
}

void TestServe::badRequestLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, error);
    DevSim sim({"--no-macros", "--holding", "5=77"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Tcp, sim)));
    const ServedDriver::Answer refused = server.request(line, 60000);
    QVERIFY(refused.answered);
    QCOMPARE(refused.out, QByteArray());
    QCOMPARE(refused.err, error);
    QCOMPARE(refused.status, ExitFailure);
    QCOMPARE(sim.requestLog(), QStringList());
    QCOMPARE(sim.holding(5), quint16(77));
    // The server goes on.
    const ServedDriver::Answer next = server.request("--read_u16 5");
    QCOMPARE(next.out, QByteArray("77\r\n"));
    QCOMPARE(next.status, 0);
}

void TestServe::lineCutOffByTheEndOfInput()
{
    // A client that goes away in the middle of a write: what came of the
    // line is not run, however much it looks like a request.
    DevSim sim({"--no-macros", "--holding", "5=77"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Tcp, sim)));
    server.write("--write_u16 5 --data 12");
    server.closeInput();
    const ServedDriver::Answer cut = server.answer();
    QVERIFY(cut.answered);
    QCOMPARE(cut.err,
        QByteArray("Invalid parameters:\n the request line ends without a line feed and was not "
                   "run\n"));
    QCOMPARE(cut.status, ExitFailure);
    QVERIFY(server.waitForEnd());
    QCOMPARE(server.exitCode(), 0);
    QCOMPARE(sim.requestLog(), QStringList());
    QCOMPARE(sim.holding(5), quint16(77));
}

void TestServe::droppedRequestFailsAndIsNotSentAgain()
{
    // The second request, a write, is taken by the device and its connection
    // dropped before the reply: it fails with the cause, is never sent again,
    // and the third request goes out on a new connection.
    DevSim sim({"--no-macros", "--fault", "drop,request=2"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Tcp, sim)));
    QCOMPARE(server.request("--write_u16 5 --data 1").status, 0);
    const ServedDriver::Answer dropped = server.request("--write_u16 6 --data 2");
    QCOMPARE(dropped.status, ExitFailure);
    QCOMPARE(dropped.out, QByteArray("[                                                  ] 0 %\r"));
    QCOMPARE(dropped.err, QByteArray("Connection reset by peer\n"));
    QCOMPARE(server.request("--write_u16 7 --data 3").status, 0);
    QCOMPARE(sim.connectionLog().size(), 2);
    QCOMPARE(sim.requestLog().size(), 3);
    QCOMPARE(sim.requestLog().value(1).mid(6), QString("00 00 00 09 FF 10 00 06 00 01 02 00 02"));
    QCOMPARE(sim.holding(6), quint16(0)); // dropped unanswered, and not sent again
    QCOMPARE(sim.holding(7), quint16(3));
}

void TestServe::connectionClosedBetweenRequests_data()
{
    QTest::addColumn<Line>("line");
    QTest::newRow("TCP") << Line::Tcp;
    QTest::newRow("TLS") << Line::Tls;
}

void TestServe::connectionClosedBetweenRequests()
{
    QFETCH(Line, line);
    // The device closes the connection after every third reply, as gateways
    // do with used-up connections: the next request opens a new one. One
    // that went out just before the close was seen fails with its cause and
    // is not sent again.
    DevSim sim(simulatorLine(line)
        + QStringList {"--no-macros", "--holding", "100=0", "--count-holding", "100", "--fault",
            "close,every=3"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(line, sim)));
    int answered = 0;
    for (int i = 0; i < 12; ++i) {
        const ServedDriver::Answer answer = server.request("--read_u16 100");
        QVERIFY(answer.answered);
        if (answer.status == 0) {
            // Each value once, in the order the device served them.
            QCOMPARE(answer.out, QByteArray::number(answered) + "\r\n");
            ++answered;
        } else {
            QCOMPARE(answer.out, QByteArray("0\r\n"));
            QVERIFY2(!answer.err.isEmpty(), answer.err.constData());
        }
    }
    QVERIFY(answered >= 9);
    // Each connection carried three requests: their transactions count 1, 2,
    // 3 on each (a request lost in a closing connection never reached the
    // device).
    const QStringList frames = sim.requestLog();
    QCOMPARE(frames.size(), answered);
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(frames.at(i).left(5), QStringLiteral("00 0%1").arg(i % 3 + 1));
    QVERIFY(sim.connectionLog().size() >= (answered + 2) / 3);
}

void TestServe::vanishedSerialLine()
{
    // The serial line goes away (the simulator's pseudo-terminal closes, as
    // an unplugged adapter does): the request fails with its cause, and each
    // one after it tries to open the line again and says why it cannot.
    auto sim = std::make_unique<DevSim>(QStringList {"--no-macros", "--holding", "1=5"});
    QVERIFY(sim->startRtu());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Rtu, *sim)));
    QCOMPARE(server.request("--read_u16 1").out, QByteArray("5\r\n"));
    const QString device = sim->ptyPath();
    sim.reset();
    for (int i = 0; i < 2; ++i) {
        const ServedDriver::Answer answer = server.request("--read_u16 1");
        QVERIFY(answer.answered);
        QCOMPARE(answer.status, ExitFailure);
        QVERIFY2(
            answer.err.startsWith("Connection fails: ") || answer.err.startsWith("Input/output"),
            answer.err.constData());
    }
    const ServedDriver::Answer later = server.request("--read_u16 1");
    QCOMPARE(later.err, QByteArray("Connection fails: No such file or directory\n"));
    QCOMPARE(later.out, QByteArray());
}

void TestServe::stopSignalWhileWaiting()
{
    DevSim sim({"--no-macros"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Tcp, sim)));
    QCOMPARE(server.request("--read_u16 1").status, 0);
    ::kill(pid_t(server.processId()), SIGTERM);
    QVERIFY(server.waitForEnd());
    QVERIFY(!server.crashed());
    QCOMPARE(server.exitCode(), 0);
}

void TestServe::stopSignalDuringARequest()
{
    // The device takes long to answer; SIGINT ends the wait at once: the
    // request fails with the cause of the stop, ends with its end line, and
    // the server ends.
    DevSim sim({"--no-macros", "--fault", "delay=60000"});
    QVERIFY(sim.startTcp());
    ServedDriver server;
    QVERIFY(server.start(programPath(modbusDriver), driverLine(Line::Tcp, sim)));
    server.write("--read_u16 1\n");
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestLog().size(), 1, 30000);
    ::kill(pid_t(server.processId()), SIGINT);
    const ServedDriver::Answer stopped = server.answer();
    QVERIFY(stopped.answered);
    QCOMPARE(stopped.status, ExitFailure);
    QCOMPARE(stopped.err, QByteArray("Operation canceled\n"));
    QVERIFY(server.waitForEnd());
    QCOMPARE(server.exitCode(), 0);
}

void TestServe::readerThatGoesAwayEndsTheServer()
{
    // The reader of standard output has gone (a pipe into a program that
    // ended, with SIGPIPE at its default as a shell leaves it): the server
    // neither dies of SIGPIPE nor keeps serving requests nobody reads, though
    // its input stays open.
    DevSim sim({"--no-macros"});
    QVERIFY(sim.startTcp());
    QProcess shell;
    shell.start("bash",
        QStringList {"-c", "trap - PIPE; \"$0\" \"$@\" | true; exit ${PIPESTATUS[0]}",
            programPath(modbusDriver)}
            + driverLine(Line::Tcp, sim) + QStringList {"--serve"});
    QVERIFY(shell.waitForStarted());
    shell.write("--read_u16 1\n--read_u16 2\n--read_u16 3\n");
    QVERIFY(shell.waitForFinished(30000));
    QCOMPARE(shell.exitStatus(), QProcess::NormalExit);
    QCOMPARE(shell.exitCode(), 0); // 141 if SIGPIPE had ended it
    QVERIFY(sim.requestLog().size() <= 1);
}

QTEST_GUILESS_MAIN(TestServe)
#include "tst_serve.moc"
