// The console frame: option scan, number rules, checks, help rows, report markup.

#include "checks.h"
#include "filenames.h"
#include "linesettings.h"
#include "numbers.h"
#include "optionpairs.h"
#include "optiontable.h"
#include "reportprinter.h"

#include <QtTest>

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void scanTakesNextArgumentWhateverItIs();
    void scanKeepsRepeatedOptionsInOrder();
    void realRule_data();
    void realRule();
    void integerRules_data();
    void integerRules();
    void wordCutsTo16Bits_data();
    void wordCutsTo16Bits();
    void numberCheckLine();
    void memberCheckLine();
    void deviceAddressCheck_data();
    void deviceAddressCheck();
    void integerRangeCheck_data();
    void integerRangeCheck();
    void helpRowPadsTo30Characters_data();
    void helpRowPadsTo30Characters();
    void reportMarkup();
    void optionTableChecks_data();
    void optionTableChecks();
    void optionTableHelpRows();
    void unknownOptions_data();
    void unknownOptions();
    void lineOfOptions_data();
    void lineOfOptions();
};

namespace {

void notNumber(const QString &value, LineKind, QString *lines)
{
    Checks::numberCheck(value, lines);
}

void notTcpAddress(const QString &value, LineKind line, QString *lines)
{
    Checks::deviceAddressCheck(value, line == LineKind::Tcp, lines);
}

// Rows in help order; their checks run in another order and on some lines only.
const OptionRow testRows[] = {
    {"--late", OptionRow::TakesValue, "Checked last", notNumber, 9},
    {"--address", OptionRow::TakesValue, "Device address", notTcpAddress, 1},
    {"--text", OptionRow::TakesValue, "Never checked"},
    {"--baud", OptionRow::TakesValue, "Serial only", notNumber, 1, OptionRow::SerialLineOnly},
    {"--port", OptionRow::TakesValue, "TCP only", notNumber, 5, OptionRow::TcpOnly},
    {"--help", OptionRow::Flag, "Help"},
};

} // namespace

void TestFrame::scanTakesNextArgumentWhateverItIs()
{
    const QStringList table {"--address", "--port", "--help"};
    const OptionPairs pairs({"prog", "--port", "--address", "--unknown", "x", "--help"}, table);
    QCOMPARE(pairs.all().size(), 3);
    QCOMPARE(pairs.value("--port"), QString("--address"));
    QVERIFY(pairs.has("--address"));
    QCOMPARE(pairs.value("--address"), QString("--unknown"));
    QVERIFY(pairs.has("--help"));
    QCOMPARE(pairs.value("--help"), QString()); // last argument: empty value
    QVERIFY(!pairs.has("--unknown"));
    QCOMPARE(pairs.value("--missing"), QString());

    QVERIFY(OptionPairs({"prog", "--Port", "COM1"}, table).isEmpty()); // case-sensitive
}

void TestFrame::scanKeepsRepeatedOptionsInOrder()
{
    const OptionPairs pairs({"prog", "--baudrate", "9600", "--port", "A", "--baudrate", "115200"},
        {"--port", "--baudrate"});
    QCOMPARE(pairs.value("--baudrate"), QString("9600"));
    QCOMPARE(pairs.values("--baudrate"), QStringList({"9600", "115200"}));
    QCOMPARE(pairs.values("--port"), QStringList({"A"}));
}

void TestFrame::realRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << "1000" << true << 1000.0;
    QTest::newRow("decimal comma") << "1,5" << true << 1.5;
    QTest::newRow("decimal point") << "-2.25" << true << -2.25;
    QTest::newRow("hexadecimal") << "0x2580" << true << 9600.0;
    QTest::newRow("upper-case X is not hex") << "0X10" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("word") << "Even" << false << 0.0;
    QTest::newRow("bad hex digit") << "0xG1" << false << 0.0;
}

void TestFrame::realRule()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    bool ok = !valid;
    QCOMPARE(Numbers::toReal(text, &ok), value);
    QCOMPARE(ok, valid);
}

void TestFrame::integerRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("signedValue");
    QTest::addColumn<quint64>("unsignedValue");
    QTest::addColumn<quint32>("decimalValue");
    QTest::newRow("decimal") << "70000" << qint64(70000) << quint64(70000) << quint32(70000);
    QTest::newRow("hex") << "0x11223344" << qint64(0x11223344) << quint64(0x11223344) << quint32(0);
    QTest::newRow("negative") << "-2" << qint64(-2) << quint64(0) << quint32(0);
    QTest::newRow("fraction") << "1.5" << qint64(0) << quint64(0) << quint32(0);
    QTest::newRow("garbage") << "abc" << qint64(0) << quint64(0) << quint32(0);
}

void TestFrame::integerRules()
{
    QFETCH(QString, text);
    QFETCH(qint64, signedValue);
    QFETCH(quint64, unsignedValue);
    QFETCH(quint32, decimalValue);
    QCOMPARE(Numbers::toSigned(text), signedValue);
    QCOMPARE(Numbers::toUnsigned(text), unsignedValue);
    QCOMPARE(Numbers::toDecimal(text), decimalValue);
}

void TestFrame::wordCutsTo16Bits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("word");
    QTest::newRow("in range") << "100" << 100;
    QTest::newRow("cut") << "70000" << 4464;
    QTest::newRow("truncated") << "7,9" << 7;
    QTest::newRow("negative") << "-1" << 65535;
    QTest::newRow("hex") << "0xFFFF" << 65535;
    QTest::newRow("huge") << "1e300" << 0;
    QTest::newRow("not a number") << "x" << 0;
}

void TestFrame::wordCutsTo16Bits()
{
    QFETCH(QString, text);
    QFETCH(int, word);
    QCOMPARE(int(Numbers::toWord(text)), word);
}

void TestFrame::numberCheckLine()
{
    QString errors;
    QVERIFY(Checks::numberCheck("0x10", &errors));
    QVERIFY(errors.isEmpty());
    QVERIFY(!Checks::numberCheck("", &errors));
    QVERIFY(!Checks::numberCheck("abc", &errors));
    QCOMPARE(errors, QString("&nbsp;&nbsp;is not a number<br>&nbsp;abc&nbsp;is not a number<br>"));
    QCOMPARE(ReportPrinter::toPlainText(errors, "\n"),
        QString("  is not a number\n abc is not a number\n"));
    QVERIFY(!Checks::numberCheck("abc", nullptr));
}

void TestFrame::memberCheckLine()
{
    QString errors;
    QVERIFY(Checks::memberCheck("E", {"N", "O", "E"}, &errors));
    QVERIFY(!Checks::memberCheck("Even", {"N", "O", "E"}, &errors));
    QVERIFY(!Checks::memberCheck("e", {"N", "O", "E"}, &errors));
    QCOMPARE(ReportPrinter::toPlainText(errors, "\n"),
        QString(" Even is not a member of: N O E\n e is not a member of: N O E\n"));
}

void TestFrame::deviceAddressCheck_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<bool>("valid");
    QTest::newRow("serial 0") << "0" << false << true;
    QTest::newRow("serial 247") << "247" << false << true;
    QTest::newRow("serial 248") << "248" << false << false;
    QTest::newRow("serial 255") << "255" << false << false;
    QTest::newRow("tcp 255") << "255" << true << true;
    QTest::newRow("tcp 254") << "254" << true << false;
    QTest::newRow("hex is not decimal") << "0x10" << false << false;
    QTest::newRow("fraction") << "1.5" << true << false;
    QTest::newRow("negative") << "-1" << false << false;
    QTest::newRow("empty") << "" << true << false;
}

void TestFrame::deviceAddressCheck()
{
    QFETCH(QString, value);
    QFETCH(bool, tcp);
    QFETCH(bool, valid);
    QString errors;
    QCOMPARE(Checks::deviceAddressCheck(value, tcp, &errors), valid);
    QCOMPARE(errors.isEmpty(), valid);
    if (!valid)
        QVERIFY(ReportPrinter::toPlainText(errors, "\n").startsWith(" " + value + " "));
}

void TestFrame::integerRangeCheck_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("top") << "65535" << true;
    QTest::newRow("hex top") << "0xFFFF" << true;
    QTest::newRow("over") << "65536" << false;
    QTest::newRow("negative") << "-1" << false;
    QTest::newRow("fraction") << "1,5" << false;
    QTest::newRow("text") << "x" << false;
}

void TestFrame::integerRangeCheck()
{
    QFETCH(QString, value);
    QFETCH(bool, valid);
    QString errors;
    QCOMPARE(Checks::integerRangeCheck(value, 0, 65535, &errors), valid);
    QCOMPARE(errors.isEmpty(), valid);
}

void TestFrame::helpRowPadsTo30Characters_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("row");
    QTest::newRow("--address: 21 characters, 9 blanks")
        << "--address" << QString("&nbsp;--address&nbsp;") + QString(9, ' ') + "Device address<br>";
    QTest::newRow("30 or more: no blanks")
        << "--a_very_long_option_name"
        << QString("&nbsp;--a_very_long_option_name&nbsp;") + "Device address<br>";
}

void TestFrame::helpRowPadsTo30Characters()
{
    QFETCH(QString, option);
    QFETCH(QString, row);
    QCOMPARE(helpRow(option, "Device address"), row);
}

void TestFrame::reportMarkup()
{
    const QString markup = "A<br>B&nbsp;&nbsp;<font color=\"red\">C</font>";
    QCOMPARE(ReportPrinter::toPlainText(markup, "\r\n"), QString("A\r\nB  C"));
    QCOMPARE(ReportPrinter::toPlainText(markup, "\n"), QString("A\nB  C"));
    QCOMPARE(ReportPrinter::toPlainText("<b>x</b>&nbsp;<br><br>", "\r\n"), QString("x \r\n\r\n"));
    QCOMPARE(ReportPrinter::toPlainText("a<b<c>d<e", "\n"), QString("ad<e"));
    // A file name that is not UTF-8 keeps its bytes, and the tags still go.
    const QString name = FileNames::fromBytes("n\xff.bin");
    QCOMPARE(ReportPrinter::toPlainText("<font color=\"red\">\"" + name + "\":<br></font>", "\n"),
        "\"" + name + "\":\n");
}

void TestFrame::optionTableChecks_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QString>("lines");
    const QStringList allBad {
        "--late", "a", "--text", "b", "--port", "c", "--baud", "d", "--address", "255"};
    QTest::newRow("serial: in check order, the TCP port not checked")
        << allBad << false
        << " 255 is not a device address: 0..247\n d is not a number\n"
           " a is not a number\n";
    QTest::newRow("tcp: the serial option not checked, the line given to the check")
        << allBad << true << " c is not a number\n a is not a number\n";
    QTest::newRow("absent options are not checked") << QStringList {"--text", "x"} << false << "";
    QTest::newRow("a repeated option: its first value")
        << QStringList {"--late", "1", "--late", "x"} << false << "";
}

void TestFrame::optionTableChecks()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, tcp);
    QFETCH(QString, lines);
    const OptionTable table(TranslationContext("TestFrame"), testRows);
    const OptionPairs options = table.scan(QStringList {"prog"} + arguments);
    QCOMPARE(ReportPrinter::toPlainText(
                 table.invalidValues(options, tcp ? LineKind::Tcp : LineKind::Serial), "\n"),
        lines);
}

void TestFrame::optionTableHelpRows()
{
    const OptionTable table(TranslationContext("TestFrame"), testRows);
    QCOMPARE(table.names(),
        QStringList({"--late", "--address", "--text", "--baud", "--port", "--help"}));
    QString rows;
    for (const OptionRow &row : testRows)
        rows += helpRow(row.name, row.help);
    QCOMPARE(table.helpRows(), rows);
}

void TestFrame::unknownOptions_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the program's name
    QTest::addColumn<QString>("lines");
    QTest::newRow("a typo of an option")
        << QStringList {"--port", "1", "--adress", "1"} << " Unknown option: --adress\n";
    QTest::newRow("the value of an option that takes one")
        << QStringList {"--port", "--adress", "--text", "--data"} << "";
    QTest::newRow("an option taken as a value still takes its own")
        << QStringList {"--port", "--text", "--x"} << "";
    QTest::newRow("after a flag") << QStringList {"--help", "--x"} << " Unknown option: --x\n";
    QTest::newRow("after a value") << QStringList {"--port", "1", "--x", "--y"}
                                   << " Unknown option: --x\n Unknown option: --y\n";
    QTest::newRow("first argument") << QStringList {"--x", "1"} << " Unknown option: --x\n";
    QTest::newRow("case counts") << QStringList {"--Port", "1"} << " Unknown option: --Port\n";
    QTest::newRow("two dashes alone") << QStringList {"--"} << " Unknown option: --\n";
    QTest::newRow("one dash and plain words are no options")
        << QStringList {"-x", "x", "-", "--help", "-h"} << "";
}

void TestFrame::unknownOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lines);
    const OptionTable table(TranslationContext("TestFrame"), testRows);
    // The program's own name never counts, whatever it looks like.
    const QStringList commandLine = QStringList {"--prog"} + arguments;
    QCOMPARE(ReportPrinter::toPlainText(table.unknownOptions(commandLine), "\n"), lines);
}

void TestFrame::lineOfOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("address"); // the default device address
    const QStringList tcp {"--ip", "10.0.0.5"};
    QTest::newRow("serial") << QStringList {"--port", "COM1"} << int(LineKind::Serial) << 502 << 1;
    QTest::newRow("serial, RTU said")
        << QStringList {"--port", "COM1", "--framing", "RTU"} << int(LineKind::Serial) << 502 << 1;
    QTest::newRow("serial ASCII") << QStringList {"--port", "COM1", "--framing", "ASCII"}
                                  << int(LineKind::SerialAscii) << 502 << 1;
    QTest::newRow("MBAP") << tcp << int(LineKind::Tcp) << 502 << 255;
    QTest::newRow("RTU through a gateway")
        << tcp + QStringList {"--framing", "RTU", "--port", "4001"} << int(LineKind::TcpRtu) << 4001
        << 1;
    QTest::newRow("ASCII through a gateway")
        << tcp + QStringList {"--framing", "ASCII"} << int(LineKind::TcpAscii) << 502 << 1;
    QTest::newRow("TLS: port 802")
        << tcp + QStringList {"--tls"} << int(LineKind::Tls) << 802 << 255;
    QTest::newRow("TLS: port given")
        << tcp + QStringList {"--tls", "--port", "8802"} << int(LineKind::Tls) << 8802 << 255;
}

// The line of a command line, its TCP port and the address a device gets
// when none is given.
void TestFrame::lineOfOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    QFETCH(int, port);
    QFETCH(int, address);
    const OptionPairs options(
        QStringList {"prog"} + arguments, {"--ip", "--port", "--framing", "--tls"});
    const LineSettings line = LineSettings::fromOptions(options);
    QCOMPARE(int(line.kind), kind);
    QCOMPARE(line.port, port);
    QCOMPARE(line.defaultAddress(), address);
}

QTEST_APPLESS_MAIN(TestFrame)
#include "tst_frame.moc"
