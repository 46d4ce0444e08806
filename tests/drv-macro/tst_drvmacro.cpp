// qelDrvMacro as a program: usage text, command-line checks, output lines and
// exit statuses, the requests on the wire and the answers, over RTU and TCP
// against the device simulator.

#include "devsim.h"
#include "macrocatalogue.h"
#include "programrun.h"
#include "wireframe.h"

#include <QtTest>

using Words = QVector<quint16>;

namespace {

// The usage text up to the macro list.
const QByteArray usageHead
    = "\r\n"
      "qelDrvMacro.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --macro FD_MACRO_LOGIN "
      "--param \"1 7305\"\r\n"
      "qelDrvMacro.exe --address 255 --ip 127.0.0.1 --macro FD_MACRO_LOGIN --param \"1 7305\"\r\n"
      "\r\n"
      " --address          Device address\r\n"
      " --baudrate         Baudrate\r\n"
      " --port             Serial port name\r\n"
      " --macro            Macro name\r\n"
      " --param            Macro parameters\r\n"
      " --parity           Serial port parity N,E,O\r\n"
      " --data_bit         Serial data bits 8\r\n"
      " --stop_bit         Serial stop bits 1,2\r\n"
      " --verbose          Verbose mode when 1, off when 0\r\n"
      " --ip               IP address\r\n"
      " --help             Help\r\n"
      " --framing          Framing RTU, ASCII (with --ip: gateway)\r\n"
      " --tls              Modbus/TCP Security (TLS), port 802\r\n"
      " --cert             TLS client certificate (PEM)\r\n"
      " --key              TLS client private key (PEM)\r\n"
      " --ca               TLS certificate authorities (PEM)\r\n"
      " --serve            Keep the line open: one request per line of standard input, each "
      "answered by its output and \"end KEY STATUS\" (KEY from the first line, \"serving "
      "KEY\")\r\n"
      "\r\n";

// The names of a section of the macro list ("MACRO_SET", blank line, one
// " NAME [ params ] " line per macro); false when a line has another shape.
bool sectionNames(const QString &section, const QString &heading, QStringList *names)
{
    static const QRegularExpression line(QStringLiteral("^ (FD_MACRO_\\w+)( ?\\[[^\\]]*\\])? $"));
    QStringList lines = section.split('\n');
    if (lines.size() < 2 || lines.takeFirst() != heading || !lines.takeFirst().isEmpty())
        return false;
    for (const QString &text : qAsConst(lines)) {
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch())
            return false;
        names->append(match.captured(1));
    }
    return true;
}

// Checks a usage text: the head as written, then the macro list, whose lines
// end with a bare line feed: every macro of the catalogue in its order,
// those that return data under MACRO_GET, the others under MACRO_SET, each
// once except the date and time, listed with its fields and without. The
// free macro FD_MACRO_SET is not listed.
void checkUsage(const QByteArray &out)
{
    QVERIFY2(out.startsWith(usageHead), out.constData());
    const QString list = QString::fromLatin1(out.mid(usageHead.size()));
    QVERIFY2(!list.contains('\r') && list.endsWith(" \n\n"), qPrintable(list));
    const QStringList sections = list.chopped(2).split(QStringLiteral("\n\n\n"));
    QCOMPARE(sections.size(), 2);
    QStringList listed;
    QVERIFY2(sectionNames(sections.at(0), "MACRO_SET", &listed), qPrintable(sections.at(0)));
    const int setCount = listed.size();
    QVERIFY2(sectionNames(sections.at(1), "MACRO_GET", &listed), qPrintable(sections.at(1)));

    QStringList expected = MacroCatalogue::names();
    expected.removeAll(QStringLiteral("FD_MACRO_SET"));
    const int dateTime = expected.indexOf(QStringLiteral("FD_MACRO_SET_DATE_TIME"));
    QVERIFY(dateTime >= 0);
    expected.insert(dateTime, expected.at(dateTime));
    QCOMPARE(listed, expected);
    for (int i = 0; i < listed.size(); ++i)
        QCOMPARE(listed.at(i).startsWith(QLatin1String("FD_MACRO_GET_")), i >= setCount);
}

ProgramResult drvMacro(const QStringList &arguments)
{
    return runProgram(programPath(QStringLiteral("qelDrvMacro")), arguments);
}

// Starts the simulator on the line and gives the driver's options to reach it
// (device address 1 unless the arguments name one).
bool startLine(DevSim &sim, bool tcp, QStringList *lineOptions)
{
    if (tcp) {
        if (!sim.startTcp())
            return false;
        *lineOptions = QStringList {"--ip", "127.0.0.1", "--port", QString::number(sim.tcpPort())};
    } else {
        if (!sim.startRtu())
            return false;
        *lineOptions = QStringList {"--port", sim.ptyPath()};
    }
    return true;
}

QString logged(const QString &logLine, bool tcp)
{
    return tcp ? WireFrame::dropTransaction(logLine) : logLine;
}

QString expected(const QString &hex, bool tcp)
{
    return tcp ? WireFrame::tcpAfterTransaction(hex) : WireFrame::rtu(hex);
}

// Replaces the placeholders PTY and TCPPORT in the arguments.
QStringList withLine(QStringList arguments, const DevSim &sim, bool tcp)
{
    for (QString &argument : arguments) {
        if (argument == QLatin1String("PTY"))
            argument = tcp ? QStringLiteral("/dev/null") : sim.ptyPath();
        else if (argument == QLatin1String("TCPPORT"))
            argument = QString::number(tcp ? sim.tcpPort() : 0);
    }
    return arguments;
}

// One run of the driver against a simulator on the line, and what the
// simulator received.
struct LineRun
{
    bool started = false; // the simulator
    ProgramResult result;
    QStringList requests;
};

enum class LineOptions {
    First, // the options that reach the simulator come before the arguments
    InPlace, // the arguments hold them, as PTY and TCPPORT
};

LineRun runOnLine(bool tcp, const QStringList &arguments, const QStringList &simOptions = {},
    LineOptions lineOptions = LineOptions::First)
{
    LineRun run;
    DevSim sim(simOptions);
    QStringList line;
    run.started = startLine(sim, tcp, &line);
    if (!run.started)
        return run;
    run.result = drvMacro(
        lineOptions == LineOptions::First ? line + arguments : withLine(arguments, sim, tcp));
    run.requests = sim.requestLog();
    return run;
}

// A run that succeeded with this output and sent exactly this request.
void checkSentOnce(const LineRun &run, bool tcp, const QByteArray &output, const QString &request)
{
    QVERIFY(run.started);
    QVERIFY(run.result.finished);
    QCOMPARE(run.result.err, QByteArray());
    QCOMPARE(run.result.out, output);
    QCOMPARE(run.result.exitCode, 0);
    QCOMPARE(run.requests.size(), 1);
    QCOMPARE(logged(run.requests.at(0), tcp), expected(request, tcp));
}

// 48 words of a profile header with its texts put in byte by byte.
QString profileHeaderAnswer(quint16 version, const QByteArray &name)
{
    Words words(48, 0);
    words[2] = version;
    words[3] = 100;
    for (int i = 0; i < name.size(); ++i)
        words[13 + i / 2] |= quint16(quint8(name.at(i)) << (i % 2 == 0 ? 0 : 8));
    words[45] = 1;
    words[46] = 2;
    words[47] = 3;
    QStringList text;
    for (const quint16 word : words)
        text.append(QString::number(word));
    return "224=" + text.join(',');
}

} // namespace

class TestDrvMacro : public QObject
{
    Q_OBJECT

private slots:
    void usage_data();
    void usage();
    void helpSendsNothing();
    void refusedCommandLine_data();
    void refusedCommandLine();
    void connectionFailures_data();
    void connectionFailures();
    void macroSent_data();
    void macroSent();
    void answers_data();
    void answers();
    void replyFailures_data();
    void replyFailures();
    void verboseTrace_data();
    void verboseTrace();
    void tooManyWordsNotSent_data();
    void tooManyWordsNotSent();
};

void TestDrvMacro::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("help") << QStringList {"--help"};
    QTest::newRow("help with other options")
        << QStringList {"--ip", "127.0.0.1", "--macro", "FD_MACRO_LOGOUT", "--help", "--param", ""};
    QTest::newRow("only unknown arguments") << QStringList {"-Macro", "FD_MACRO_LOGOUT", "-help"};
}

void TestDrvMacro::usage()
{
    QFETCH(QStringList, arguments);
    const ProgramResult result = drvMacro(arguments);
    QVERIFY(result.finished);
    checkUsage(result.out);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
}

void TestDrvMacro::helpSendsNothing()
{
    for (const bool tcp : {false, true}) {
        const LineRun run = runOnLine(
            tcp, {"--address", "1", "--macro", "FD_MACRO_LOGOUT", "--param", "", "--help"});
        QVERIFY(run.started);
        checkUsage(run.result.out);
        QCOMPARE(run.result.exitCode, 0);
        QVERIFY(run.requests.isEmpty());
    }
}

void TestDrvMacro::refusedCommandLine_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    const QByteArray required = "Required parameters:\n";
    const QByteArray invalid = "Invalid parameters:\n";
    const QByteArray paramsError = "Macro params error\n";
    const QStringList rtu {"--port", "PTY", "--address", "1"};
    const QStringList tcp {"--ip", "127.0.0.1", "--port", "TCPPORT"};
    const QStringList logout {"--macro", "FD_MACRO_LOGOUT", "--param", ""};

    QTest::newRow("serial: port and macro missing")
        << false << QStringList {"--address", "1", "--param", "1"}
        << required + " --port\n --macro\n";
    QTest::newRow("serial: everything missing")
        << false << QStringList {"--verbose", "1"}
        << required + " --port\n --address\n --macro\n --param\n";
    QTest::newRow("serial: address missing")
        << false << QStringList {"--port", "PTY"} + logout << required + " --address\n";
    QTest::newRow("TCP: macro missing")
        << true << tcp + QStringList {"--param", "1"} << required + " --macro\n";
    QTest::newRow("TCP: macro and param missing")
        << true << tcp + QStringList {"--verbose", "1"} << required + " --macro\n --param\n";
    QTest::newRow("TCP: a value taken as an option's value")
        << true << tcp + QStringList {"--param", "--macro", "FD_MACRO_SET_SN"}
        << paramsError; // --param takes "--macro" as its text; --macro is still present

    QTest::newRow("serial: parity X") << false << rtu + logout + QStringList {"--parity", "X"}
                                      << invalid + " X is not a member of: N E O\n";
    QTest::newRow("serial: parity Even") << false << rtu + logout + QStringList {"--parity", "Even"}
                                         << invalid + " Even is not a member of: N E O\n";
    QTest::newRow("serial: data bits 7") << false << rtu + logout + QStringList {"--data_bit", "7"}
                                         << invalid + " 7 is not a member of: 8\n";
    QTest::newRow("serial: stop bits 3") << false << rtu + logout + QStringList {"--stop_bit", "3"}
                                         << invalid + " 3 is not a member of: 1 2\n";
    QTest::newRow("serial: baud rate not a number")
        << false << rtu + logout + QStringList {"--baudrate", "fast"}
        << invalid + " fast is not a number\n";
    QTest::newRow("serial: baud rate as last argument")
        << false << rtu + logout + QStringList {"--baudrate"} << invalid + "  is not a number\n";
    QTest::newRow("serial: all values bad, in option order")
        << false
        << QStringList {"--stop_bit", "0", "--data_bit", "9", "--parity", "n", "--baudrate", "x",
               "--address", "y", "--port", "PTY"}
            + logout
        << invalid
            + " y is not a number\n x is not a number\n n is not a member of: N E O\n"
              " 9 is not a member of: 8\n 0 is not a member of: 1 2\n";
    for (const char *address : {"0x10", "248", "255", "-1", "1.5", "1,5", "4294967297"}) {
        QTest::addRow("serial: address %s", address)
            << false << QStringList {"--port", "PTY", "--address", address} + logout
            << invalid + " " + address + " is not a device address: 0..247\n";
    }
    for (const char *address : {"0x10", "248", "256", "1.5"}) {
        QTest::addRow("TCP: address %s", address)
            << true << tcp + QStringList {"--address", address} + logout
            << invalid + " " + address + " is not a device address: 0..247, 255\n";
    }
    QTest::newRow("TCP: address not a number")
        << true << tcp + QStringList {"--address", "abc"} + logout
        << invalid + " abc is not a number\n";
    QTest::newRow("TCP: address as last argument")
        << true << tcp + logout + QStringList {"--address"} << invalid + "  is not a number\n";
    for (const char *port : {"0", "65536", "70000", "502.5", "0x1F6", "502.0", "5.02e2"}) {
        QTest::addRow("TCP: port %s", port)
            << true << QStringList {"--ip", "127.0.0.1", "--port", port} + logout
            << invalid + " " + port + " is not a decimal whole number from 1 to 65535\n";
    }
    QTest::newRow("TCP: port not a number")
        << true << QStringList {"--ip", "127.0.0.1", "--port", "http"} + logout
        << invalid + " http is not a number\n";
    QTest::newRow("TCP: address and port, in option order")
        << true << QStringList {"--port", "x", "--ip", "127.0.0.1", "--address", "300"} + logout
        << invalid + " 300 is not a device address: 0..247, 255\n x is not a number\n";

    for (const bool onTcp : {false, true}) {
        const QStringList line = onTcp ? tcp : rtu;
        const char *name = onTcp ? "TCP" : "serial";
        QTest::addRow("%s: unknown macro", name)
            << onTcp << line + QStringList {"--macro", "FD_MACRO_NONE", "--param", ""}
            << paramsError;
        QTest::addRow("%s: lower-case macro", name)
            << onTcp << line + QStringList {"--macro", "fd_macro_logout", "--param", ""}
            << paramsError;
        QTest::addRow("%s: number too wide for its word", name)
            << onTcp
            << line + QStringList {"--macro", "FD_MACRO_CLEAR_COUNTERS", "--param", "70000"}
            << paramsError;
        QTest::addRow("%s: negative number", name)
            << onTcp << line + QStringList {"--macro", "FD_MACRO_CLEAR_COUNTERS", "--param", "-1"}
            << paramsError;
        QTest::addRow("%s: hexadecimal number", name)
            << onTcp << line + QStringList {"--macro", "FD_MACRO_CLEAR_COUNTERS", "--param", "0x10"}
            << paramsError;
        QTest::addRow("%s: too few numbers", name) << onTcp
                                                   << line
                + QStringList {"--macro", "FD_MACRO_SET_DATE_TIME", "--param", "2024 1 1 1 0 0 0 0"}
                                                   << paramsError;
        QTest::addRow("%s: free macro, a parameter missing", name)
            << onTcp << line + QStringList {"--macro", "FD_MACRO_SET", "--param", "100 1 2 7"}
            << paramsError;
        QTest::addRow("%s: a line break hides the rest of a login", name)
            << onTcp
            << line + QStringList {"--macro", "FD_MACRO_LOGIN", "--param", "1 7305\n--help"}
            << paramsError;
        QTest::addRow("%s: a tab in a logout's text", name)
            << onTcp << line + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", "\t"}
            << paramsError;
        for (const char *millisecond : {"256", "65536"}) {
            QTest::addRow("%s: millisecond %s does not fit its byte", name, millisecond) << onTcp
                                                                                         << line
                    + QStringList {"--macro", "FD_MACRO_SET_DATE_TIME", "--param",
                        QString("2024 1 1 1 0 0 0 %1 0").arg(millisecond)} << paramsError;
        }
        QTest::addRow("%s: free macro, specification above a byte", name)
            << onTcp << line + QStringList {"--macro", "FD_MACRO_SET", "--param", "100 258 0"}
            << paramsError;
    }
}

void TestDrvMacro::refusedCommandLine()
{
    QFETCH(bool, tcp);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);

    const LineRun run = runOnLine(tcp, arguments, {}, LineOptions::InPlace);
    QVERIFY(run.started);
    QVERIFY(run.result.finished);
    QCOMPARE(run.result.err, error);
    QCOMPARE(run.result.out, QByteArray());
    QCOMPARE(run.result.exitCode, ExitFailure);
    QVERIFY(run.requests.isEmpty());
}

void TestDrvMacro::connectionFailures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");
    const QStringList logout {"--macro", "FD_MACRO_LOGOUT", "--param", ""};
    QTest::newRow("TCP: nobody listening")
        << QStringList {"--ip", "127.0.0.1", "--port", "CLOSEDPORT"} + logout
        << QByteArray("Connection fails: Connection refused\n");
    QTest::newRow("serial: no such device")
        << QStringList {"--port", "/dev/qel-no-such-line", "--address", "1"} + logout
        << QByteArray("Connection fails: No such file or directory\n");
    QTest::newRow("serial: hexadecimal baud rate reads as 0")
        << QStringList {"--port", "/dev/qel-no-such-line", "--address", "1", "--baudrate", "0x2580"}
            + logout
        << QByteArray("The baud rate value must not be zero\n"
                      "Unable to create the Modbus context\n");
}

void TestDrvMacro::connectionFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);

    quint16 closedPort = 0;
    {
        DevSim sim;
        QVERIFY(sim.startTcp());
        closedPort = sim.tcpPort();
    }
    arguments.replaceInStrings(QStringLiteral("CLOSEDPORT"), QString::number(closedPort));
    const ProgramResult result = drvMacro(arguments);
    QVERIFY(result.finished);
    QCOMPARE(result.err, error);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.exitCode, ExitFailure);
}

void TestDrvMacro::macroSent_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("request"); // without checksum or header, address first

    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        const QStringList address {"--address", "1"};
        QTest::addRow("login, %s", line)
            << tcp << address + QStringList {"--macro", "FD_MACRO_LOGIN", "--param", "1 7305"}
            << QByteArray("macro [ FD_MACRO_LOGIN ] params [ 1 7305 ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 44, 1, {1, 0x3337, 0x3530});
        QTest::addRow("logout with empty text, %s", line)
            << tcp << address + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", ""}
            << QByteArray("macro [ FD_MACRO_LOGOUT ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 45, 1, {});
        QTest::addRow("logout, param as last argument, %s", line)
            << tcp << address + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param"}
            << QByteArray("macro [ FD_MACRO_LOGOUT ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 45, 1, {});
        QTest::addRow("the example as a write macro, %s", line)
            << tcp << address + QStringList {"--macro", "FD_MACRO_SET", "--param", "258 3 2 1 515"}
            << QByteArray("macro [ FD_MACRO_SET ] params [ 258 3 2 1 515 ] OK\r\n")
            << "01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD";
        QTest::addRow("set IP address, %s", line)
            << tcp
            << address
                + QStringList {"--macro", "FD_MACRO_SET_IP_ADDRESS", "--param", "3 1 0 168 192"}
            << QByteArray("macro [ FD_MACRO_SET_IP_ADDRESS ] params [ 3 1 0 168 192 ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 59, 1, {3, 1, 0, 168, 192});
        QTest::addRow("repeated options take the first value, %s", line)
            << tcp
            << address
                + QStringList {"--macro", "FD_MACRO_SET_SN", "--param", "9", "--macro",
                    "FD_MACRO_NONE", "--param", "x", "--address", "2"}
            << QByteArray("macro [ FD_MACRO_SET_SN ] params [ 9 ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 1, 1, {9});
        QTest::addRow("verbose 0, %s", line)
            << tcp
            << address
                + QStringList {"--macro", "FD_MACRO_SET_SN", "--param", "9", "--verbose", "0"}
            << QByteArray("macro [ FD_MACRO_SET_SN ] params [ 9 ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 1, 1, {9});
        QTest::addRow("verbose 2, %s", line)
            << tcp
            << address
                + QStringList {"--macro", "FD_MACRO_SET_SN", "--param", "9", "--verbose", "2"}
            << QByteArray("macro [ FD_MACRO_SET_SN ] params [ 9 ] OK\r\n")
            << WireFrame::writeMacroRequest(1, 1, 1, {9});
    }
    QTest::newRow("TCP: device address 255 by default")
        << true << QStringList {"--macro", "FD_MACRO_SET_SN", "--param", "9"}
        << QByteArray("macro [ FD_MACRO_SET_SN ] params [ 9 ] OK\r\n")
        << WireFrame::writeMacroRequest(255, 1, 1, {9});
    QTest::newRow("serial: even parity")
        << false
        << QStringList {"--address", "1", "--parity", "E", "--macro", "FD_MACRO_SET_SN", "--param",
               "9"}
        << QByteArray("macro [ FD_MACRO_SET_SN ] params [ 9 ] OK\r\n")
        << WireFrame::writeMacroRequest(1, 1, 1, {9});
    QTest::newRow("TCP: serial options ignored")
        << true
        << QStringList {"--address", "1", "--parity", "X", "--baudrate", "y", "--macro",
               "FD_MACRO_SET_SN", "--param", "9"}
        << QByteArray("macro [ FD_MACRO_SET_SN ] params [ 9 ] OK\r\n")
        << WireFrame::writeMacroRequest(1, 1, 1, {9});
    QString words117 = "300 2 117";
    Words params117;
    for (int i = 0; i < 117; ++i) {
        words117 += " " + QString::number(60000 + i);
        params117.append(quint16(60000 + i));
    }
    QTest::newRow("serial: 117 parameter words")
        << false << QStringList {"--address", "1", "--macro", "FD_MACRO_SET", "--param", words117}
        << "macro [ FD_MACRO_SET ] params [ " + words117.toLatin1() + " ] OK\r\n"
        << WireFrame::writeMacroRequest(1, 300, 2, params117);
    QTest::newRow("TCP: 117 parameter words")
        << true << QStringList {"--address", "1", "--macro", "FD_MACRO_SET", "--param", words117}
        << "macro [ FD_MACRO_SET ] params [ " + words117.toLatin1() + " ] OK\r\n"
        << WireFrame::writeMacroRequest(1, 300, 2, params117);
}

void TestDrvMacro::macroSent()
{
    QFETCH(bool, tcp);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    QFETCH(QString, request);

    checkSentOnce(runOnLine(tcp, arguments), tcp, output, request);
}

void TestDrvMacro::answers_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QString>("param");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("request");

    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("serial number, %s", line)
            << tcp << QStringList {"--sn", "54321"} << "FD_MACRO_GET_SN"
            << "" << QByteArray("macro [ FD_MACRO_GET_SN ] OK\r\n54321\r\n")
            << WireFrame::readMacroRequest(1, 226, 1, {});
        QTest::addRow("device info, %s", line)
            << tcp << QStringList {"--device-info", "7,2,1"} << "FD_MACRO_GET_DEVICE_INFO"
            << "any text"
            << QByteArray("macro [ FD_MACRO_GET_DEVICE_INFO ] params [ any text ] OK\r\n"
                          "Profile: 7\r\nSets of settings: 2\r\nState of operation: 1\r\n\r\n")
            << WireFrame::readMacroRequest(1, 225, 1, {});
        QTest::addRow("device info, too few words, %s", line)
            << tcp << QStringList {"--macro-answer", "225=7,2"} << "FD_MACRO_GET_DEVICE_INFO"
            << ""
            << QByteArray("macro [ FD_MACRO_GET_DEVICE_INFO ] OK\r\n"
                          "error: returned regs count < required\r\n")
            << WireFrame::readMacroRequest(1, 225, 1, {});
        QTest::addRow("device key, %s", line)
            << tcp << QStringList {"--device-key", "43981,18"} << "FD_MACRO_GET_DEVICE_KEY"
            << "" << QByteArray("macro [ FD_MACRO_GET_DEVICE_KEY ] OK\r\nabcd0012\r\n")
            << WireFrame::readMacroRequest(1, 220, 1, {});
        QTest::addRow("events count, %s", line)
            << tcp << QStringList {"--events-count", "0,300"} << "FD_MACRO_GET_EVENTS_COUNT"
            << "" << QByteArray("macro [ FD_MACRO_GET_EVENTS_COUNT ] OK\r\n0000012c\r\n")
            << WireFrame::readMacroRequest(1, 202, 1, {});
        QTest::addRow("profile header, %s", line)
            << tcp
            << QStringList {"--profile-name", "Feeder 7", "--profile-desc", "Incoming",
                   "--profile-model", "RB4", "--profile-version", "9", "--profile-size", "2048",
                   "--profile-blocknet", "5", "--profile-program-crc", "4660",
                   "--profile-header-crc", "22136"}
            << "FD_MACRO_GET_PROFILE_HEADER"
            << "3"
            << QByteArray("macro [ FD_MACRO_GET_PROFILE_HEADER ] params [ 3 ] OK\r\n"
                          "Name: Feeder 7\r\nDesc: Incoming\r\nModel: RB4\r\nVersion: 9\r\n"
                          "Size: U16 x 2048\r\nBlocknet: 5\r\nProgram CRC: 4660\r\n"
                          "Header CRC: 22136\r\n\r\n")
            << WireFrame::readMacroRequest(1, 224, 1, {3});
        QTest::addRow("profile header, version 11, %s", line)
            << tcp << QStringList {"--profile-version", "11"} << "FD_MACRO_GET_PROFILE_HEADER"
            << "0"
            << QByteArray("macro [ FD_MACRO_GET_PROFILE_HEADER ] params [ 0 ] OK\r\n"
                          "unknown ebi version = 11\r\n")
            << WireFrame::readMacroRequest(1, 224, 1, {0});
        QTest::addRow("profile header, zero byte inside the name, %s", line)
            << tcp
            << QStringList {"--macro-answer", profileHeaderAnswer(10, QByteArray("AB\0C", 4))}
            << "FD_MACRO_GET_PROFILE_HEADER"
            << "1"
            << QByteArray("macro [ FD_MACRO_GET_PROFILE_HEADER ] params [ 1 ] OK\r\n"
                          "Name: ABC\r\nDesc: \r\nModel: \r\nVersion: 10\r\nSize: U16 x 100\r\n"
                          "Blocknet: 1\r\nProgram CRC: 2\r\nHeader CRC: 3\r\n\r\n")
            << WireFrame::readMacroRequest(1, 224, 1, {1});
    }
}

void TestDrvMacro::answers()
{
    QFETCH(bool, tcp);
    QFETCH(QStringList, simOptions);
    QFETCH(QString, macro);
    QFETCH(QString, param);
    QFETCH(QByteArray, output);
    QFETCH(QString, request);

    const QStringList arguments {"--address", "1", "--macro", macro, "--param", param};
    checkSentOnce(runOnLine(tcp, arguments, simOptions), tcp, output, request);
}

void TestDrvMacro::replyFailures_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("cause"); // the one line on standard error

    const QByteArray getSn = "macro [ FD_MACRO_GET_SN ] ERR\r\n";
    const QByteArray setSn = "macro [ FD_MACRO_SET_SN ] params [ 5 ] ERR\r\n";
    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("code complement, %s", line)
            << tcp << "bad-code-complement"
            << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid data\n");
        QTest::addRow("specification complement, %s", line)
            << tcp << "bad-spec-complement"
            << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid data\n");
        QTest::addRow("count complement, %s", line)
            << tcp << "bad-count-complement"
            << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid data\n");
        QTest::addRow("reply too long, %s", line)
            << tcp << "length=2"
            << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid data\n");
        QTest::addRow("reply too short, %s", line)
            << tcp << "length=-2"
            << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid data\n");
        QTest::addRow("exception to a read macro, %s", line)
            << tcp << "exception=2"
            << "FD_MACRO_GET_SN" << getSn << QByteArray("Illegal data address\n");
        QTest::addRow("exception to a write macro, %s", line)
            << tcp << "exception=4"
            << "FD_MACRO_SET_SN" << setSn << QByteArray("Slave device or server failure\n");
    }
    QTest::newRow("reply from another device, RTU")
        << false << "other-address=2"
        << "FD_MACRO_SET_SN" << setSn << QByteArray("Response not from requested slave\n");
    QTest::newRow("bad CRC, RTU") << false << "bad-crc"
                                  << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid CRC\n");
    QTest::newRow("wrong transaction, TCP")
        << true << "bad-transaction"
        << "FD_MACRO_GET_SN" << getSn << QByteArray("Invalid data\n");
    QTest::newRow("no reply, RTU")
        << false << "silent"
        << "FD_MACRO_SET_SN" << setSn << QByteArray("The device did not answer within 2000 ms\n");
}

void TestDrvMacro::replyFailures()
{
    QFETCH(bool, tcp);
    QFETCH(QString, fault);
    QFETCH(QString, macro);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, cause);

    const QString param = macro == QLatin1String("FD_MACRO_SET_SN") ? "5" : "";
    const LineRun run = runOnLine(
        tcp, {"--address", "1", "--macro", macro, "--param", param}, {"--fault", fault});
    QVERIFY(run.started);
    QVERIFY(run.result.finished);
    QCOMPARE(run.result.out, output);
    QCOMPARE(run.result.err, cause); // the engine's trace is quiet without --verbose 1
    QCOMPARE(run.result.exitCode, ExitFailure);
    QCOMPARE(run.requests.size(), 1);
}

void TestDrvMacro::verboseTrace_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("diagnostic");
    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("code complement, %s", line)
            << tcp << "bad-code-complement"
            << "Macro negation not corresponding request (226 != ";
        QTest::addRow("specification complement, %s", line)
            << tcp << "bad-spec-complement"
            << "Macro specification not corresponding request (1 != ";
        QTest::addRow("count complement, %s", line)
            << tcp << "bad-count-complement"
            << "Macro parameters not corresponding request (1 != ";
        QTest::addRow("wrong length, %s", line)
            << tcp << "length=2"
            << "Message length not corresponding to the computed length (";
    }
}

void TestDrvMacro::verboseTrace()
{
    QFETCH(bool, tcp);
    QFETCH(QString, fault);
    QFETCH(QString, diagnostic);

    const LineRun run = runOnLine(tcp,
        {"--address", "1", "--macro", "FD_MACRO_GET_SN", "--param", "", "--verbose", "1"},
        {"--sn", "4660", "--fault", fault});
    QVERIFY(run.started);
    const ProgramResult &result = run.result;
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, ExitFailure);

    // Standard output: the engine's connection line, the request line with
    // the byte trace of the frame sent, the bytes received, the flush of the
    // line after the failed check, then ERR.
    const QString out = QString::fromLatin1(result.out);
    QCOMPARE(run.requests.size(), 1);
    QString sentTrace = "[" + run.requests.at(0) + "]";
    sentTrace.replace(" ", "][");
    const int request = out.indexOf("macro [ FD_MACRO_GET_SN ] " + sentTrace + "\n");
    QVERIFY2(request >= 0, qPrintable(out));
    const int waiting = out.indexOf("Waiting for a confirmation...\n", request);
    QVERIFY2(waiting > request, qPrintable(out));
    const int received = out.indexOf("<12><34>", waiting); // the serial number's bytes
    QVERIFY2(received > waiting, qPrintable(out));
    const int flushed = out.indexOf("\nBytes flushed (", received);
    QVERIFY2(flushed > received, qPrintable(out));
    QVERIFY2(out.endsWith(")\nERR\r\n"), qPrintable(out));
    QCOMPARE(out.count("ERR"), 1);

    // Standard error: the failed check, then its cause.
    const QString err = QString::fromLatin1(result.err);
    QVERIFY2(err.startsWith(diagnostic), qPrintable(err));
    QVERIFY2(err.endsWith(")\nInvalid data\n"), qPrintable(err));
}

void TestDrvMacro::tooManyWordsNotSent_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::newRow("RTU") << false;
    QTest::newRow("TCP") << true;
}

void TestDrvMacro::tooManyWordsNotSent()
{
    QFETCH(bool, tcp);
    QString text = "300 2 118";
    for (int i = 0; i < 118; ++i)
        text += " " + QString::number(i);

    const LineRun run = runOnLine(
        tcp, {"--address", "1", "--macro", "FD_MACRO_SET", "--param", text, "--verbose", "1"});
    QVERIFY(run.started);
    const ProgramResult &result = run.result;
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, ExitFailure);
    // Refused by the engine before sending; the line is flushed all the same.
    QVERIFY2(result.out.endsWith("macro [ FD_MACRO_SET ] params [ " + text.toLatin1()
                 + " ] Bytes flushed (0)\nERR\r\n"),
        result.out);
    QCOMPARE(result.err,
        QByteArray("ERROR Trying to write to too many registers (122 > 121)\nToo many data\n"));
    QVERIFY(run.requests.isEmpty());
}

QTEST_GUILESS_MAIN(TestDrvMacro)
#include "tst_drvmacro.moc"
