// Register maps: a project's requests written as a map and read back give
// the same requests for every kind, type and order, in CSV and xlsx; maps
// written by Python's csv module in each dialect and by openpyxl read to the
// expected requests; every kind of bad map gives its line, column and
// reason and adds nothing of the refused lines.

#include "csvmaptable.h"
#include "filetargets.h"
#include "programrun.h"
#include "registermapfile.h"
#include "registermapreader.h"
#include "registertypes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

// Every kind with every type it takes, every order of the ordered types,
// texts of two lengths, scaling and formats on some.
void everyRequest(QList<readValues> *reads, QList<writeValues> *writes)
{
    int address = 0;
    for (const QString &kind : registerTypes::readKinds()) {
        for (const QString &type : registerTypes::types(kind)) {
            const QStringList orders
                = registerTypes::hasOrder(type) ? registerTypes::orders() : QStringList {"CDAB"};
            for (const QString &order : orders) {
                readValues read;
                read.kind = kind;
                read.type = type;
                read.order = order;
                read.addr = QString::number(address);
                read.desc = QStringLiteral("%1 %2 %3 „ąę”").arg(kind, type, order);
                read.length = type == registerTypes::text ? QString::number(4 + address % 3) : "";
                read.format = registerTypes::isInteger(type) && address % 2 ? "F_X_XX" : "";
                if (engineeringScale::isScalable(type) && address % 3 == 0)
                    read.scaling = {"-0.01", "40", "°C"};
                reads->append(read);
                if (registerTypes::writeKinds().contains(kind)) {
                    writeValues write;
                    write.kind = kind;
                    write.type = type;
                    write.order = order;
                    write.addr = read.addr;
                    write.desc = read.desc + " set";
                    write.length = read.length;
                    write.value = type == registerTypes::text ? "ABC"
                        : type == registerTypes::bit          ? "1"
                                                              : "12";
                    write.single = (type == "U16" || type == "S16") && address % 2;
                    writes->append(write);
                }
                address += 8;
            }
        }
    }
}

QString jsonText(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QStringList problemTexts(const mapImport &result)
{
    QStringList texts;
    for (const mapProblem &problem : result.problems)
        texts << problem.text();
    return texts;
}

mapImport readText(const QByteArray &text, const mapOptions &options = {})
{
    return registerMapReader::read(csvMapTable::read(text, options).table, options);
}

} // namespace

class tst_registerMaps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void pythonCsvDialects_data();
    void pythonCsvDialects();
    void openpyxlWorkbook();
    void oneBasedAddresses();
    void badMaps_data();
    void badMaps();
    void tooManyLines();
    void filesThatAreNoMaps();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    bool runPython(const QString &script, const QJsonArray &rows, const QStringList &arguments);
    QTemporaryDir dir;
};

void tst_registerMaps::initTestCase()
{
    QVERIFY(dir.isValid());
}

bool tst_registerMaps::runPython(
    const QString &script, const QJsonArray &rows, const QStringList &arguments)
{
    QFile spec(path("spec.json"));
    if (!spec.open(QIODevice::WriteOnly) || spec.write(QJsonDocument(rows).toJson()) < 0)
        return false;
    spec.close();
    const ProgramResult run = runProgram(python, QStringList {script, spec.fileName()} + arguments);
    if (!run.finished || run.exitCode != 0)
        qWarning("%s", run.err.constData());
    return run.finished && run.exitCode == 0;
}

void tst_registerMaps::roundTrip_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("CSV") << "map.csv";
    QTest::newRow("xlsx") << "map.xlsx";
}

void tst_registerMaps::roundTrip()
{
    QFETCH(QString, file);
    QList<readValues> reads;
    QList<writeValues> writes;
    everyRequest(&reads, &writes);
    QString error;
    QVERIFY2(registerMapFile::write(path(file), reads, writes, &error), qPrintable(error));

    const mapImport result = registerMapFile::read(path(file), mapOptions());
    QVERIFY2(result.problems.empty(), qPrintable(problemTexts(result).join('\n')));
    QList<readValues> readBack;
    QList<writeValues> writtenBack;
    for (const mapEntry &entry : result.entries) {
        if (entry.read)
            readBack << *entry.read;
        if (entry.write)
            writtenBack << *entry.write;
    }
    QCOMPARE(readBack.size(), reads.size());
    QCOMPARE(writtenBack.size(), writes.size());
    for (int i = 0; i < reads.size(); ++i)
        QCOMPARE(jsonText(readBack.at(i).toJson()), jsonText(reads.at(i).toJson()));
    for (int i = 0; i < writes.size(); ++i)
        QCOMPARE(jsonText(writtenBack.at(i).toJson()), jsonText(writes.at(i).toJson()));
}

void tst_registerMaps::pythonCsvDialects_data()
{
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<int>("chosenEncoding"); // mapOptions::Encoding

    const int detect = int(mapOptions::Encoding::Detect);
    QTest::newRow("comma, UTF-8") << "excel"
                                  << "utf-8" << false << detect;
    QTest::newRow("comma, UTF-8 with mark") << "excel"
                                            << "utf-8-sig" << false << detect;
    QTest::newRow("semicolon, decimal comma, UTF-8") << "semicolon"
                                                     << "utf-8" << true << detect;
    QTest::newRow("semicolon, decimal comma, Windows-1250 detected") << "semicolon"
                                                                     << "cp1250" << true << detect;
    QTest::newRow("semicolon, Windows-1250 chosen")
        << "semicolon"
        << "cp1250" << true << int(mapOptions::Encoding::Windows1250);
    QTest::newRow("comma, decimal comma in quotes, Windows-1250") << "excel"
                                                                  << "cp1250" << true << detect;
}

void tst_registerMaps::pythonCsvDialects()
{
    QFETCH(QString, dialect);
    QFETCH(QString, encoding);
    QFETCH(bool, decimalComma);
    QFETCH(int, chosenEncoding);
    const auto number
        = [decimalComma](QString text) { return decimalComma ? text.replace('.', ',') : text; };
    // Polish headers in another order, a column nobody knows, a name over
    // two lines with a separator and quotes in it.
    const QJsonArray rows {
        QJsonArray {"Uwagi", "Adres", "Nazwa", "Typ danych", "Mnożnik", "Jednostka", "Rodzaj",
            "Dostęp", "Kolejność", "Przesunięcie"},
        QJsonArray {"x", "100", "Prąd fazy L1", "U16", number("0.01"), "A", "holding", "R", "", ""},
        QJsonArray {"", "0x0200", "Temperatura; \"szafa\"\nrozdzielnicy", "S16", number("0.1"),
            "°C", "input", "R", "", number("-40.5")},
        QJsonArray {"", "300", "Nastawa", "F32", "", "", "holding", "RW", "ABCD", ""},
        QJsonArray {"", "7", "Wyłącznik", "", "", "", "coil", "W", "", ""},
    };
    QVERIFY(
        runPython(QStringLiteral(QEL_CSV_DIALECTS), rows, {path("python.csv"), dialect, encoding}));

    mapOptions options;
    options.encoding = mapOptions::Encoding(chosenEncoding);
    QString detected;
    const mapImport result = registerMapFile::read(path("python.csv"), options, &detected);
    QVERIFY2(result.problems.empty(), qPrintable(problemTexts(result).join('\n')));
    QVERIFY2(
        detected.contains(encoding == "cp1250" ? "Windows-1250" : "UTF-8"), qPrintable(detected));
    QVERIFY2(detected.contains(dialect == "semicolon" ? "\";\"" : "\",\""), qPrintable(detected));
    QCOMPARE(int(result.entries.size()), 4);

    const readValues current = *result.entries[0].read;
    QCOMPARE(current.desc, QString("Prąd fazy L1"));
    QCOMPARE(current.addr, QString("100"));
    QCOMPARE(current.scaling.scale, QString("0.01"));
    QCOMPARE(current.shown("1234"), QString("12.34 A"));
    QVERIFY(!result.entries[0].write);

    const readValues temperature = *result.entries[1].read;
    QCOMPARE(result.entries[1].line, 3);
    QCOMPARE(temperature.desc, QString("Temperatura; \"szafa\"\nrozdzielnicy"));
    QCOMPARE(temperature.kind, QString("input"));
    QCOMPARE(temperature.addr, QString("512"));
    QCOMPARE(temperature.shown("-5"), QString("-41 °C"));

    QCOMPARE(result.entries[2].line, 5);
    QCOMPARE(result.entries[2].read->order, QString("ABCD"));
    QCOMPARE(result.entries[2].write->type, QString("F32"));

    QVERIFY(!result.entries[3].read);
    QCOMPARE(result.entries[3].write->kind, QString("coil"));
    QCOMPARE(result.entries[3].write->type, QString("BIT"));
}

void tst_registerMaps::openpyxlWorkbook()
{
    // Numbers as numbers, texts as texts, a blank row and a gap in a row.
    const QJsonArray sheet {
        QJsonArray {
            "Access", "Unit", "Scale", "Type", "Address", "Name", "Kind", "Length", "Format"},
        QJsonArray {"R", "kWh", 0.001, "U32", 1000, "Energy import", "holding", QJsonValue(), ""},
        QJsonArray {},
        QJsonArray {
            "RW", QJsonValue(), QJsonValue(), "STR", 1100, "Bay name", "holding", 8, QJsonValue()},
        QJsonArray {
            "R", QJsonValue(), QJsonValue(), "S16", 5, "Counter", "input", QJsonValue(), "F_X_X"},
    };
    QFile spec(path("spec.json"));
    QVERIFY(spec.open(QIODevice::WriteOnly));
    spec.write(QJsonDocument(QJsonArray {QJsonArray {"Map", sheet}}).toJson());
    spec.close();
    const ProgramResult run = runProgram(python,
        {QStringLiteral(QEL_OPENPYXL_TOOL), "write", spec.fileName(), path("openpyxl.xlsx")});
    QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());

    const mapImport result = registerMapFile::read(path("openpyxl.xlsx"), mapOptions());
    QVERIFY2(result.problems.empty(), qPrintable(problemTexts(result).join('\n')));
    QCOMPARE(int(result.entries.size()), 3);
    QCOMPARE(result.entries[0].read->shown("123456"), QString("123.456 kWh"));
    QCOMPARE(result.entries[0].read->addr, QString("1000"));
    QCOMPARE(result.entries[1].line, 4);
    QCOMPARE(result.entries[1].read->length, QString("8"));
    QCOMPARE(result.entries[1].write->type, QString("STR"));
    QCOMPARE(result.entries[2].read->format, QString("F_X_X"));
    QCOMPARE(result.entries[2].read->kind, QString("input"));
}

void tst_registerMaps::oneBasedAddresses()
{
    mapOptions options;
    options.addresses = mapOptions::Addresses::OneBased;
    const mapImport result = readText("name,address,type\n"
                                      "a,40001,U16\n"
                                      "b,465536,U16\n"
                                      "c,30010,S16\n"
                                      "d,00001,\n"
                                      "e,10002,\n"
                                      "f,50001,U16\n"
                                      "g,40000,U16\n",
        options);
    QCOMPARE(int(result.entries.size()), 5);
    const QStringList expected {"holding 0", "holding 65535", "input 9", "coil 0", "discrete 1"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(result.entries[size_t(i)].read->kind + ' ' + result.entries[size_t(i)].read->addr,
            expected.at(i));
    QCOMPARE(problemTexts(result).size(), 2);
    QVERIFY(problemTexts(result).at(0).startsWith("Line 7, address: 50001 is not a 1-based"));
    QVERIFY(problemTexts(result).at(1).startsWith("Line 8, address: 40000 is not a 1-based"));

    // The same addresses without the choice are plain registers.
    const mapImport plain = readText("name,address\na,40001\nb,465536\n");
    QCOMPARE(int(plain.entries.size()), 1);
    QCOMPARE(plain.entries[0].read->addr, QString("40001"));
    QCOMPARE(problemTexts(plain), QStringList {"Line 3, address: 465536 is outside 0 to 65535"});
}

void tst_registerMaps::badMaps_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<int>("added");

    QTest::newRow("empty file") << QByteArray() << QStringList {"File: the map is empty"} << 0;
    QTest::newRow("blank lines only")
        << QByteArray("\r\n;;\r\n ; \n") << QStringList {"File: the map is empty"} << 0;
    QTest::newRow("no header") << QByteArray("Current,100,U16\nVoltage,102,U16\n")
                               << QStringList {"Line 1: no header: the first line names no "
                                               "address column (address, adres, register, "
                                               "rejestr)"}
                               << 0;
    QTest::newRow("duplicate names")
        << QByteArray("name,address,access\nI1,1,R\nI2,2,RW\nI1,3,R\nI2,4,W\n")
        << QStringList {"Line 4, name: I1 is already the name on line 2",
               "Line 5, name: I2 is already the name on line 3"}
        << 2;
    QTest::newRow("overlapping values")
        << QByteArray("name,kind,address,type\nP,holding,100,F32\nQ,holding,101,U16\n"
                      "R,input,101,U16\nS,holding,96,U64\nT,holding,98,S16\n")
        << QStringList {"Line 3, address: registers 101 to 101 overlap those of P on line 2",
               "Line 6, address: registers 98 to 98 overlap those of S on line 5"}
        << 3;
    QTest::newRow("address outside")
        << QByteArray("address,type\n65536,U16\n-1,U16\n65533,U64\nabc,U16\n65534,U32\n")
        << QStringList {"Line 2, address: 65536 is outside 0 to 65535",
               "Line 3, address: -1 is outside 0 to 65535",
               "Line 4, address: U64 at 65533 ends beyond register 65535",
               "Line 5, address: abc is not an address"}
        << 1;
    QTest::newRow("type not fitting the kind")
        << QByteArray("Adres;Rodzaj;Typ;Dostęp\n1;coil;F32;R\n2;input;U16;W\n3;holding;U12;R\n"
                      "4;discrete;BIT;R\n")
        << QStringList {"Line 2, Typ: F32 does not fit the kind Coil",
               "Line 3, Dostęp: Input register cannot be written",
               "Line 4, Typ: U12 is not a data type"}
        << 1;
    QTest::newRow("fields of a line")
        << QByteArray("address,type,scale,offset,format,order,length,access,value,function\n"
                      "1,U16,0,,,,,R,,\n"
                      "2,F32,,x,F_X_X,ADCB,,R,,\n"
                      "3,STR,2,,,,0,RW,,\n"
                      "4,U16,0.01,,,,,W,12.345,\n"
                      "5,S32,,,,,,W,,6\n"
                      "6,U16,,,,,,RW,70000,\n")
        << QStringList {"Line 2, scale: the scale must not be 0",
               "Line 3, order: ADCB is not one of ABCD, BADC, CDAB, DCBA",
               "Line 3, format: a format applies to whole-number types only, not F32",
               "Line 3, offset: the offset x is not a number",
               "Line 4, length: a text needs its registers, 1 to 120, not \"0\"",
               "Line 4, scale: a value of type STR has no scale, offset or unit",
               "Line 5, value: 12.345 is not a whole raw value: (12.345 − 0) / 0.01 has a "
               "fraction",
               "Line 6, function: function 6 writes a single U16 or S16 holding register",
               "Line 7, value: 70000 gives the raw value 70000, outside 0 to 65535 of U16"}
        << 0;
    QTest::newRow("decimal mark") << QByteArray("address;scale\n1;0,5\n2;0.5\n3;1.000,5\n")
                                  << QStringList {"Line 4, scale: 1.000,5 does not have the "
                                                  "chosen decimal mark"}
                                  << 2;
}

void tst_registerMaps::badMaps()
{
    QFETCH(QByteArray, map);
    QFETCH(QStringList, problems);
    QFETCH(int, added);
    const mapImport result = readText(map);
    QCOMPARE(problemTexts(result), problems);
    QCOMPARE(int(result.entries.size()), added);
    for (const mapProblem &problem : result.problems)
        for (const mapEntry &entry : result.entries)
            QVERIFY(entry.line != problem.line);
}

// 100,000 lines: the first 65,536 are read, the rest is told in one line.
void tst_registerMaps::tooManyLines()
{
    QByteArray map("name,address\n");
    for (int i = 0; i < 100000; ++i)
        map += "R" + QByteArray::number(i) + ',' + QByteArray::number(i % 65536) + '\n';
    const mapImport result = readText(map);
    QCOMPARE(int(result.entries.size()), mapTable::MaxLines);
    QCOMPARE(problemTexts(result),
        QStringList {"Line 65538: a map holds at most 65536 lines; this line and those after it "
                     "are not read"});
}

void tst_registerMaps::filesThatAreNoMaps()
{
    const auto only = [](const mapImport &result) {
        return result.problems.size() == 1 && result.entries.empty()
            ? result.problems.front().text()
            : QString("%1 problems").arg(result.problems.size());
    };
    QCOMPARE(only(registerMapFile::read(path("missing.csv"), {})),
        QString("File: %1 does not exist").arg(path("missing.csv")));
    QCOMPARE(only(registerMapFile::read(dir.path(), {})),
        QString("File: %1 is a folder").arg(dir.path()));
    const NotARegularFile fifo(path("fifo.csv"), "fifo");
    QVERIFY(fifo.isMade());
    QCOMPARE(only(registerMapFile::read(path("fifo.csv"), {})),
        QString("File: %1 is not a regular file").arg(path("fifo.csv")));
    QFile text(path("text.xlsx"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("name,address\nA,1\n");
    text.close();
    QVERIFY(only(registerMapFile::read(path("text.xlsx"), {}))
                .startsWith(QString("File: %1 is not a readable workbook").arg(path("text.xlsx"))));

    // A workbook whose first row is data.
    QFile spec(path("noheader.json"));
    QVERIFY(spec.open(QIODevice::WriteOnly));
    spec.write(R"([["Sheet", [["Current", 100, "U16"], ["Voltage", 102, "U16"]]]])");
    spec.close();
    const ProgramResult run = runProgram(python,
        {QStringLiteral(QEL_OPENPYXL_TOOL), "write", spec.fileName(), path("noheader.xlsx")});
    QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
    QVERIFY(only(registerMapFile::read(path("noheader.xlsx"), {}))
                .startsWith("Line 1: no header: the first line names no address column"));
}

QTEST_GUILESS_MAIN(tst_registerMaps)
#include "tst_registermaps.moc"
