#include "argumentline.h"
#include "drivercommand.h"
#include "driveroutput.h"
#include "knowncauses.h"
#include "loglines.h"
#include "readformat.h"

#include <QTranslator>
#include <QtTest>

// The texts of a driver run: the value shown for a read by its display
// format, the value and frames taken from a driver's output, the command
// lines and the log fragments.
class tst_runTexts : public QObject
{
    Q_OBJECT

private slots:
    void readFormat_data();
    void readFormat();
    void readValue_data();
    void readValue();
    void frames_data();
    void frames();
    void commandLine_data();
    void commandLine();
    void textWriteCommandLine_data();
    void textWriteCommandLine();
    void splitArguments_data();
    void splitArguments();
    void silenceLimit_data();
    void silenceLimit();
    void logFragments_data();
    void logFragments();
    void timeText();
    void causesInPolish_data();
    void causesInPolish();
    void everyCauseTranslated();
};

void tst_runTexts::readFormat_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");

    QTest::newRow("F_X unchanged") << "4567"
                                   << "F_X"
                                   << "4567";
    QTest::newRow("no format") << "4567"
                               << ""
                               << "4567";
    QTest::newRow("unknown format") << "4567"
                                    << "F_Y"
                                    << "4567";
    QTest::newRow("F32 without format") << "3.14159"
                                        << ""
                                        << "3.14159";
    QTest::newRow("F_X_X") << "2305"
                           << "F_X_X"
                           << "230.5";
    QTest::newRow("F_X_XX") << "4567"
                            << "F_X_XX"
                            << "45.67";
    QTest::newRow("F_X_XX inner zero") << "4505"
                                       << "F_X_XX"
                                       << "45.05";
    QTest::newRow("F_X_XXX") << "12345"
                             << "F_X_XXX"
                             << "12.345";
    QTest::newRow("F_X_XXXX") << "31416"
                              << "F_X_XXXX"
                              << "3.1416";
    QTest::newRow("smaller than one") << "7"
                                      << "F_X_XXX"
                                      << "0.007";
    QTest::newRow("zero") << "0"
                          << "F_X_XX"
                          << "0.00";
    QTest::newRow("U16 maximum") << "65535"
                                 << "F_X_X"
                                 << "6553.5";
    QTest::newRow("U32 maximum") << "4294967295"
                                 << "F_X_XXXX"
                                 << "429496.7295";
    QTest::newRow("largest U64") << "18446744073709551615"
                                 << "F_X_XX"
                                 << "184467440737095516.15";
    QTest::newRow("most negative S64") << "-9223372036854775808"
                                       << "F_X_XXXX"
                                       << "-922337203685477.5808";
    QTest::newRow("beyond U64") << "18446744073709551616"
                                << "F_X_X"
                                << "0.0";
    QTest::newRow("S16 negative") << "-205"
                                  << "F_X_XX"
                                  << "-2.05";
    QTest::newRow("negative below one") << "-5"
                                        << "F_X_XX"
                                        << "-0.05";
    QTest::newRow("S16 minimum") << "-32768"
                                 << "F_X_X"
                                 << "-3276.8";
    QTest::newRow("S32 minimum") << "-2147483648"
                                 << "F_X_XXXX"
                                 << "-214748.3648";
    QTest::newRow("negative F_X unchanged") << "-205"
                                            << "F_X"
                                            << "-205";
    QTest::newRow("unreadable counts as 0") << "abc"
                                            << "F_X_XX"
                                            << "0.00";
    QTest::newRow("float counts as 0") << "3.14159"
                                       << "F_X_X"
                                       << "0.0";
    QTest::newRow("empty counts as 0") << ""
                                       << "F_X_XXX"
                                       << "0.000";
}

void tst_runTexts::readFormat()
{
    QFETCH(QString, value);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    QCOMPARE(formatReadValue(value, format), shown);
}

void tst_runTexts::readValue_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<bool>("verbose");
    QTest::addColumn<QString>("value");

    QTest::newRow("line end") << "1234\r\n" << false << "1234";
    QTest::newRow("two lines joined") << "12\n34\r\n" << false << "1234";
    QTest::newRow("nothing") << "" << false << "";
    QTest::newRow("trace") << "Connecting to 127.0.0.1:1502\nBytes flushed (0)\n"
                              "[00][01][00][00][00][06][01][03][00][64][00][01]\n"
                              "Waiting for a confirmation...\n"
                              "<00><01><00><00><00><05><01><03><02><04><D2>\n1234\r\n"
                           << true << "1234";
    QTest::newRow("negative after trace") << "<01><03><02><FB><2E>\n-1234\r\n" << true << "-1234";
    QTest::newRow("verbose without trace") << "1234\r\n" << true << "1234";
    QTest::newRow("text with the marks of the trace") << "<01><03><04><3C><42><3E><00>\n<B>\r\n"
                                                      << true << "<B>";
    QTest::newRow("text without trace") << "a>b <c>\r\n" << false << "a>b <c>";
}

void tst_runTexts::readValue()
{
    QFETCH(QString, out);
    QFETCH(bool, verbose);
    QFETCH(QString, value);
    QCOMPARE(driverOutput::readValue(out, verbose), value);
}

void tst_runTexts::frames_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("received");

    QTest::newRow("read over TCP")
        << "Connecting to 127.0.0.1:1502\nBytes flushed (0)\n"
           "[00][01][00][00][00][06][01][03][00][64][00][01]\nWaiting for a confirmation...\n"
           "<00><01><00><00><00><05><01><03><02><04><D2>\n1234\r\n"
        << "[00][01][00][00][00][06][01][03][00][64][00][01]"
        << "[00][01][00][00][00][05][01][03][02][04][D2]";
    QTest::newRow("macro after its header text")
        << "Connecting to 127.0.0.1:1502\nmacro [ FD_MACRO_LOGIN ] params [ 1 7305 ] "
           "[00][01][00][00][00][15][01][10][00][00]\nWaiting for a confirmation...\n"
           "<00><01><00><00><00><06><01><10><00><00><00><07>\nOK\r\n"
        << "[00][01][00][00][00][15][01][10][00][00]"
        << "[00][01][00][00][00][06][01][10][00][00][00][07]";
    QTest::newRow("serial line opening text")
        << "Opening \\\\.\\COM1 at 115200 bauds (N, 8, 1)\nBytes flushed (0)\n"
           "[01][03][00][64][00][01][C5][D5]\nWaiting for a confirmation...\n"
           "<01><03><02><04><D2><3A><D9>\n1234\r\n"
        << "[01][03][00][64][00][01][C5][D5]"
        << "[01][03][02][04][D2][3A][D9]";
    QTest::newRow("exception reply, flush after it")
        << "Bytes flushed (0)\n[00][01][00][00][00][06][07][03][00][64][00][01]\n"
           "Waiting for a confirmation...\n<00><01><00><00><00><03><07><83><0B>\n"
           "Bytes flushed (0)\n0\r\n"
        << "[00][01][00][00][00][06][07][03][00][64][00][01]"
        << "[00][01][00][00][00][03][07][83][0B]";
    QTest::newRow("no reply") << "Bytes flushed (0)\n[01][03][00][64][00][01][C5][D5]\n"
                                 "Waiting for a confirmation...\nBytes flushed (0)\nERR\r\n"
                              << "[01][03][00][64][00][01][C5][D5]"
                              << "";
    QTest::newRow("reply cut short") << "[01][03][00][64][00][01][C5][D5]\n"
                                        "Waiting for a confirmation...\n<01><03>"
                                     << "[01][03][00][64][00][01][C5][D5]"
                                     << "[01][03]";
    QTest::newRow("second exchange wins")
        << "[01][41][00]\nWaiting for a confirmation...\n<01><41>\n"
           "[02][41][00]\nWaiting for a confirmation...\n<02><41>\nOK\r\n"
        << "[02][41][00]"
        << "[02][41]";
    QTest::newRow("no trace") << "1234\r\n"
                              << ""
                              << "";
    QTest::newRow("progress bars are no frames")
        << "[                                                  ] 0 %\rBytes flushed (0)\n"
           "[00][01][00][00][00][09][01][10][00][82][00][01][02][00][4D]\n"
           "Waiting for a confirmation...\n<00><01><00><00><00><06><01><10><00><82><00><01>\n"
           "[=================================================>] 100 %\r"
        << "[00][01][00][00][00][09][01][10][00][82][00][01][02][00][4D]"
        << "[00][01][00][00][00][06][01][10][00][82][00][01]";
}

void tst_runTexts::frames()
{
    QFETCH(QString, out);
    QFETCH(QString, sent);
    QFETCH(QString, received);
    QCOMPARE(driverOutput::sentFrame(out), sent);
    QCOMPARE(driverOutput::receivedFrame(out), received);
}

void tst_runTexts::commandLine_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("verbose");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<bool>("runs");

    const QStringList serial {"1", "COM3", "115200"};
    QTest::newRow("read, serial")
        << "read" << (serial + QStringList {"U16", "100"}) << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --read_u16 100" << true;
    QTest::newRow("read, serial, verbose")
        << "read" << (serial + QStringList {"F32", "106"}) << true << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --read_f32 106 --verbose 1" << true;
    QTest::newRow("write, serial")
        << "write" << (serial + QStringList {"S16", "7", "-2"}) << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --write_s16 7 --data -2" << true;
    QTest::newRow("macro, serial")
        << "macro" << (serial + QStringList {"FD_MACRO_LOGIN", "1 7305"}) << false << "qelDrvMacro"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --macro FD_MACRO_LOGIN --param \"1 "
           "7305\""
        << true;
    QTest::newRow("macro, empty parameters, verbose")
        << "macro" << (serial + QStringList {"FD_MACRO_LOGOUT", ""}) << true << "qelDrvMacro"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --macro FD_MACRO_LOGOUT --param \"\" "
           "--verbose 1"
        << true;
    QTest::newRow("read, no port")
        << "read" << QStringList {"", "", "", "U32", "102"} << false << "qelDrvModbus"
        << " --read_u32 102" << true;
    QTest::newRow("address with an option inside")
        << "read" << (serial + QStringList {"U16", "100 --ip 10.0.0.9"}) << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --read_u16 100 --ip 10.0.0.9" << false;
    QTest::newRow("empty address")
        << "read" << (serial + QStringList {"U16", ""}) << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --read_u16 " << false;
    QTest::newRow("unknown type")
        << "read" << (serial + QStringList {"F128", "100"}) << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --read_f128 100" << false;
    QTest::newRow("value with a blank")
        << "write" << (serial + QStringList {"U16", "5", "1 2"}) << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --write_u16 5 --data 1 2" << false;
    QTest::newRow("parameters with a double quote")
        << "macro" << (serial + QStringList {"FD_MACRO_SET", "1\" --ip \"10.0.0.9"}) << false
        << "qelDrvMacro"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --macro FD_MACRO_SET --param \"1\" "
           "--ip \"10.0.0.9\""
        << false;
    QTest::newRow("port name with a blank")
        << "read" << QStringList {"1", "COM 3", "115200", "U16", "100"} << false << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM 3 --baudrate 115200 --read_u16 100" << false;
    // A NUL would end the argument the driver gets: it would write 77.
    QTest::newRow("value with a NUL")
        << "write" << (serial + QStringList {"U16", "5", QString("77") + QChar(0) + "999"}) << false
        << "qelDrvModbus"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --write_u16 5 --data 77"
            + QString(QChar(0)) + "999"
        << false;
    // A line break would make the parameters end where the row shows more.
    QTest::newRow("parameters with a line break")
        << "macro" << (serial + QStringList {"FD_MACRO_LOGIN", "1 7305\n--help"}) << false
        << "qelDrvMacro"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --macro FD_MACRO_LOGIN --param \"1 "
           "7305\n--help\""
        << false;
    QTest::newRow("parameters with an escape character")
        << "macro" << (serial + QStringList {"FD_MACRO_LOGIN", "1 7305\x1b"}) << false
        << "qelDrvMacro"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --macro FD_MACRO_LOGIN --param \"1 "
           "7305\x1b\""
        << false;
}

void tst_runTexts::commandLine()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, values);
    QFETCH(bool, verbose);
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    QFETCH(bool, runs);

    std::optional<portValues> port;
    if (!values.at(0).isEmpty()) {
        port = portValues();
        port->addr = values.at(0);
        port->com = values.at(1);
        port->baudrate = values.at(2);
    }
    driverCommand command = kind == "read"
        ? driverCommand::read(port, {values.at(3), values.at(4), QString(), QString()}, verbose)
        : kind == "write"
        ? driverCommand::write(port, {values.at(3), values.at(4), values.at(5), QString()}, verbose)
        : driverCommand::macro(port, {values.at(3), values.at(4), QString()}, verbose);
    QCOMPARE(command.program, program);
    QCOMPARE(command.text(), arguments);
    QCOMPARE(command.problem().isEmpty(), runs);
    // What runs is what the text says.
    if (runs)
        QCOMPARE(ArgumentLine::split(command.text()), command.arguments);
}

void tst_runTexts::textWriteCommandLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<bool>("runs");

    QTest::newRow("blanks in double quotes")
        << "Feeder 1"
        << "--write_str 40 --range 8 --data \"Feeder 1\"" << true;
    QTest::newRow("empty text clears the registers")
        << ""
        << "--write_str 40 --range 8 --data \"\"" << true;
    QTest::newRow("a text like an option stays one value")
        << "--ip 10.0.0.9"
        << "--write_str 40 --range 8 --data \"--ip 10.0.0.9\"" << true;
    QTest::newRow("a double quote would end the value")
        << "a\" --ip \"b"
        << "--write_str 40 --range 8 --data \"a\" --ip \"b\"" << false;
}

// A text written to registers reaches the driver as one argument, blanks
// and all; one that the command line would not give back is not run.
void tst_runTexts::textWriteCommandLine()
{
    QFETCH(QString, text);
    QFETCH(QString, arguments);
    QFETCH(bool, runs);

    writeValues request;
    request.type = QStringLiteral("STR");
    request.addr = QStringLiteral("40");
    request.length = QStringLiteral("8");
    request.value = text;
    const driverCommand command = driverCommand::write(std::nullopt, request, false);
    QCOMPARE(command.text(), QLatin1Char(' ') + arguments);
    QCOMPARE(command.problem().isEmpty(), runs);
    if (runs)
        QCOMPARE(ArgumentLine::split(command.text()), command.arguments);
}

void tst_runTexts::silenceLimit_data()
{
    QTest::addColumn<QString>("baudrate"); // empty: TCP
    // The driver's longest run: connect, send and the reply's first byte
    // within 2000 ms each, then the rest of the reply: 2000 ms over TCP, on
    // a serial line 256 bytes of 11 bits at its speed.
    QTest::addColumn<int>("driverMs");
    QTest::newRow("TCP") << QString() << 3 * 2000 + 2000;
    QTest::newRow("serial, 115200 Bd") << "115200" << 3 * 2000 + 25;
    QTest::newRow("serial, 9600 Bd") << "9600" << 3 * 2000 + 294;
    QTest::newRow("serial, 1200 Bd") << "1200" << 3 * 2000 + 2347;
    QTest::newRow("serial, 300 Bd") << "300" << 3 * 2000 + 9387;
}

// The client ends a silent driver only after the driver's own engine has
// given up on the device at the port's line and speed, so the driver's
// cause is the one shown.
void tst_runTexts::silenceLimit()
{
    QFETCH(QString, baudrate);
    QFETCH(int, driverMs);

    portValues port;
    port.addr = "1";
    if (baudrate.isEmpty()) {
        port.kind = portValues::Tcp;
        port.ip = "10.0.0.5";
    } else {
        port.com = "COM3";
        port.baudrate = baudrate;
    }
    const readValues read {"U16", "100", QString(), QString()};
    for (const bool verbose : {false, true}) {
        const driverCommand command = driverCommand::read(port, read, verbose);
        QVERIFY2(command.silenceLimitMs() > driverMs,
            qPrintable(QString::number(command.silenceLimitMs())));
    }
}

void tst_runTexts::splitArguments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("blanks separate") << "--read_u16  100 " << QStringList {"--read_u16", "100"};
    QTest::newRow("quotes group") << "--param \"1 2 3\"" << QStringList {"--param", "1 2 3"};
    QTest::newRow("empty quoted argument")
        << "--param \"\" --x" << QStringList {"--param", "", "--x"};
    QTest::newRow("quotes inside a word") << "a\"b c\"d" << QStringList {"ab cd"};
    QTest::newRow("three quotes are one") << "say \"\"\"hi\"\"\"" << QStringList {"say", "\"hi\""};
    QTest::newRow("backslashes kept")
        << "--port \\\\.\\COM3" << QStringList {"--port", "\\\\.\\COM3"};
    QTest::newRow("nothing") << "" << QStringList {};
    QTest::newRow("only blanks") << "   " << QStringList {};
}

void tst_runTexts::splitArguments()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QCOMPARE(ArgumentLine::split(text), arguments);
}

void tst_runTexts::logFragments_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("expected");

    const QString time = "2026-12-06 10:05:01.042";
    QTest::newRow("OK") << logLines::status(true)
                        << "<b><font color=\"green\" >OK</font>\n</b><br>";
    QTest::newRow("ERROR") << logLines::status(false)
                           << "<b><font color=\"red\" >ERROR</font>\n</b><br>";
    QTest::newRow("write") << logLines::write(time, "U16", "130",
        "77") << "2026-12-06 10:05:01.042 --- <b>WRITE</b> U16 [ <b>77</b> --&gt; 130 ] ";
    QTest::newRow("macro") << logLines::macro(time, "FD_MACRO_LOGIN")
                           << "2026-12-06 10:05:01.042 --- <b>MACRO</b> FD_MACRO_LOGIN ";
    QTest::newRow("read") << logLines::read(time, "F32", "106",
        "3.14159") << "2026-12-06 10:05:01.042 --- <b>READ</b> F32 [ 106 --&gt; <b>3.14159</b> ] ";
    QTest::newRow("read failed") << logLines::read(time, "U16", "100",
        "?") << "2026-12-06 10:05:01.042 --- <b>READ</b> U16 [ 100 --&gt; <b>?</b> ] ";
    QTest::newRow("placeholder in a value stays") << logLines::read(time, "U16", "%4",
        "1") << "2026-12-06 10:05:01.042 --- <b>READ</b> U16 [ %4 --&gt; <b>1</b> ] ";
    QTest::newRow("markup in a value is text") << logLines::macro(
        time, "<i>x</i>") << "2026-12-06 10:05:01.042 --- <b>MACRO</b> &lt;i&gt;x&lt;/i&gt; ";
    QTest::newRow("open file") << logLines::openFile(time, "/home/a/plant.json")
                               << "2026-12-06 10:05:01.042 <b>Open file</b> [/home/a/plant.json] ";
    QTest::newRow("save file") << logLines::saveFile(time,
        "/home/a/R&D.json") << "2026-12-06 10:05:01.042 <b>Save file</b> [/home/a/R&amp;D.json] ";
    QTest::newRow("tx") << logLines::tx("[01][03]") << "tx [01][03]<br>";
    QTest::newRow("rx") << logLines::rx("[01][83][02]") << "rx [01][83][02]<br>";
    QTest::newRow("command line is text")
        << logLines::commandLine("/opt/q&a/qelDrvMacro --param \"1 <2>\"")
        << "cmd /opt/q&amp;a/qelDrvMacro --param &quot;1 &lt;2&gt;&quot;<br>";
    QTest::newRow("driver's words are text")
        << logLines::driverText("ERROR <5>") << "err ERROR &lt;5&gt;<br>";
}

void tst_runTexts::logFragments()
{
    QFETCH(QString, fragment);
    QFETCH(QString, expected);
    QCOMPARE(fragment, expected);
}

void tst_runTexts::timeText()
{
    const QDateTime time(QDate(2026, 12, 6), QTime(10, 5, 1, 42));
    QCOMPARE(logLines::timeText(time), QStringLiteral("2026-12-06 10:05:01.042"));
}

void tst_runTexts::causesInPolish_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("polish");

    QTest::newRow("exception") << "Illegal data address"
                               << "Niedozwolony adres danych";
    QTest::newRow("no answer") << "The device did not answer within 2000 ms"
                               << "Urządzenie nie odpowiedziało w ciągu 2000 ms";
    QTest::newRow("reply cut short") << "The device's reply was incomplete after 4012 ms"
                                     << "Odpowiedź urządzenia była niepełna po 4012 ms";
    QTest::newRow("connection refused") << "Connection fails: Connection refused"
                                        << "Nie można nawiązać połączenia: połączenie odrzucone";
    QTest::newRow("connect timed out")
        << "Connection fails: Timed out while connecting"
        << "Nie można nawiązać połączenia: upłynął czas oczekiwania na połączenie";
    QTest::newRow("TLS, two levels deep")
        << "Connection fails: certificate verify failed: certificate has expired"
        << "Nie można nawiązać połączenia: weryfikacja certyfikatu nie powiodła się: certyfikat "
           "wygasł";
    QTest::newRow("LRC") << "Invalid LRC"
                         << "Błędna suma kontrolna LRC";
    QTest::newRow("an unknown reason inside a known one")
        << "Connection fails: Too many levels of symbolic links"
        << "Nie można nawiązać połączenia: Too many levels of symbolic links";
    QTest::newRow("unknown: as the driver said") << " Unknown option: --write_u61"
                                                 << " Unknown option: --write_u61";
    QTest::newRow("a known text inside an unknown one") << "Illegal data address, again"
                                                        << "Illegal data address, again";
    QTest::newRow("empty") << ""
                           << "";
}

// The drivers' causes read in the interface's language; what the table does
// not know stays as the driver said it.
void tst_runTexts::causesInPolish()
{
    QFETCH(QString, cause);
    QFETCH(QString, polish);
    QCOMPARE(knownCauses::translated(cause), cause);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/file/qelWinModbusClient_pl.qm")));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QString translated = knownCauses::translated(cause);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(translated, polish);
}

// Every row of the table has its Polish text, with its placeholder.
void tst_runTexts::everyCauseTranslated()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/file/qelWinModbusClient_pl.qm")));
    QStringList missing;
    for (const QString &source : knownCauses::sources()) {
        const QString polish = translator.translate("knownCauses", source.toLatin1().constData());
        if (polish.isEmpty() || polish.contains("%1") != source.contains("%1"))
            missing << source;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    QVERIFY(knownCauses::sources().size() >= 40);
}

QTEST_GUILESS_MAIN(tst_runTexts)
#include "tst_runtexts.moc"
