// qelExelRd as a program: help and required options, the round trip of every
// database kind through qelExelWr into a second database, the further columns
// it fills in, and failures that leave the database byte for byte unchanged.

#include "configfixture.h"
#include "packagemaker.h"
#include "programrun.h"
#include "xlsxdocument.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace ConfigFixture;

namespace {

ProgramResult runImport(const QStringList &arguments)
{
    return runProgram(programPath("qelExelRd"), arguments);
}

ProgramResult runExport(const QStringList &arguments)
{
    return runProgram(programPath("qelExelWr"), arguments);
}

QString blanks(int count)
{
    return QString(count, QLatin1Char(' '));
}

QString text(const QVariant &value)
{
    return value.isValid() ? value.toString() : QString();
}

// Worksheet rows for a table: awkward texts, empty cells and numbers; key
// columns count up. Texts of the BI convert column carry no double quotes,
// which the import takes out.
Rows sampleRows(const QString &table, int count, int seed)
{
    const QStringList texts = awkwardTexts();
    const QStringList columns = tableColumns(table);
    Rows rows;
    for (int r = 0; r < count; ++r) {
        QVariantList row;
        for (int c = 0; c < columns.size(); ++c) {
            const QString &column = columns.at(c);
            if (column == "id" || column == "ref" || column == "index" || column == "addr") {
                row.append(seed + r + 1);
            } else if (c >= sheetColumnCount(table)) {
                row.append(QStringLiteral("old %1").arg(seed)); // further column
            } else if ((r + c + seed) % 5 == 0) {
                row.append(QVariant());
            } else if ((r + c + seed) % 7 == 0) {
                row.append(r * 100 + c + 0.25);
            } else {
                QString value = texts.at((r + c + seed) % texts.size());
                if (table == "BI" && column == "convert")
                    value.remove('"');
                row.append(value);
            }
        }
        rows.append(row);
    }
    return rows;
}

// Further columns as the import fills them: column name to text, "row" for
// the worksheet row number.
QMap<QString, QString> furtherValues(const QString &table)
{
    if (table == "BIBO" || table == "MEAS")
        return {{"value", "-ERR-"}, {"raw", "0"}, {"counter", "0"}};
    if (table == "CTRL" || table == "AO" || table == "BI" || table == "BO" || table == "MAPPING")
        return {{"value", "0"}};
    if (table == "AI")
        return {{"convert", "0"}, {"value", "0"}};
    if (table == "ports")
        return {{"no", "row"}};
    return {};
}

} // namespace

Q_DECLARE_METATYPE(ConfigFixture::Sheet)

class TestExelRd : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void help_data();
    void help();
    void requiredParameters_data();
    void requiredParameters();
    void unusableDatabase_data();
    void unusableDatabase();

    void roundTrip_data();
    void roundTrip();
    void headerOnlySheetEmptiesTable();
    void portsNumberedByWorksheetRow();
    void rowsUpToTheLastUsedRow();
    void biConvertLosesItsQuotes();
    void absentCellImportsAsNullEmptyTextAsEmptyText();
    void unknownTypeChangesNothing();
    void everyValueComesBackUnderDump_data();
    void everyValueComesBackUnderDump();
    void formulaCellsGiveTheirStoredResult();
    void hostileWorkbookEndsInError_data();
    void hostileWorkbookEndsInError();

    void failureLeavesDatabaseUnchanged_data();
    void failureLeavesDatabaseUnchanged();
    void lockedDatabaseIsLeftUnchanged_data();
    void lockedDatabaseIsLeftUnchanged();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    void makeFilledDatabase(const QString &fileName, const QString &type, int rows, int seed);
    std::unique_ptr<QTemporaryDir> dir;
};

void TestExelRd::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestExelRd::makeFilledDatabase(
    const QString &fileName, const QString &type, int rows, int seed)
{
    QVERIFY(createDatabase(fileName, kindTables(type)));
    for (const QString &table : kindTables(type))
        QVERIFY(insertRows(fileName, table, sampleRows(table, rows, seed)));
}

void TestExelRd::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("--help") << QStringList {"--help"};
    QTest::newRow("--help among others") << QStringList {"--load", "x.xlsx", "--help"};
}

void TestExelRd::help()
{
    QFETCH(QStringList, arguments);
    const ProgramResult result = runImport(arguments);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    const QString expected = "qelExelRd.exe --db db.sqlite --load db.xlsx --type data_db\r\n\r\n"
                             " --db "
        + blanks(14) + "Sqlite base\r\n --load " + blanks(12) + "Load from file\r\n --type "
        + blanks(12) + "Base type\r\n  " + blanks(18) + "; data_db\r\n  " + blanks(18)
        + "; data_map_db\r\n  " + blanks(18) + "; dnp3_db\r\n  " + blanks(18)
        + "; modbus_server_db\r\n  " + blanks(18) + "; units\r\n --help " + blanks(12) + "Help\r\n";
    QCOMPARE(QString::fromUtf8(result.out), expected);
    QCOMPARE(result.err, QByteArray());
}

void TestExelRd::requiredParameters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("missing");
    QTest::newRow("--type only") << QStringList {"save", "x", "--type", "units"}
                                 << " --load\r\n --db\r\n";
    QTest::newRow("--db") << QStringList {"--load", "a.xlsx", "--type", "units"} << " --db\r\n";
    QTest::newRow("--load and --type")
        << QStringList {"--db", "a.sqlite"} << " --load\r\n --type\r\n";
}

void TestExelRd::requiredParameters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, missing);
    const ProgramResult result = runImport(arguments);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(QString::fromUtf8(result.out), "Required parameters:\r\n" + missing);
    QCOMPARE(result.err, QByteArray());
}

void TestExelRd::unusableDatabase_data()
{
    QTest::addColumn<QByteArray>("content"); // of the --db file; none when null
    QTest::addColumn<bool>("folder"); // --db names a folder instead
    QTest::addColumn<QString>("reason"); // in the message on standard error
    QTest::newRow("does not exist (and is not created)") << QByteArray() << false << "db.sqlite";
    QTest::newRow("a folder") << QByteArray() << true << "db.sqlite";
    QTest::newRow("not a database") << QByteArray(8192, 'x') << false << "db.sqlite";
    // SQLite takes an empty file for an empty database: it lacks the table.
    QTest::newRow("empty file") << QByteArray("") << false << "no such table: UNITS";
}

void TestExelRd::unusableDatabase()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    QFETCH(QString, reason);
    QVERIFY(writeWorkbook(path("units.xlsx"), {{"UNITS", {{"id", "unit"}, {"1", "V"}}}}));
    if (folder) {
        QVERIFY(QDir(dir->path()).mkdir("db.sqlite"));
    } else if (!content.isNull()) {
        QFile file(path("db.sqlite"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QStringList entries = folderEntries(dir->path());
    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", path("units.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY2(result.err.contains(reason.toUtf8()), result.err);
    QCOMPARE(folderEntries(dir->path()), entries);
    if (!folder)
        QCOMPARE(fileBytes(path("db.sqlite")), content);
}

void TestExelRd::roundTrip_data()
{
    QTest::addColumn<QString>("type");
    for (const char *type : {"data_db", "data_map_db", "dnp3_db", "modbus_server_db", "units"})
        QTest::newRow(type) << QString(type);
}

// A filled database exported and imported into a second one with other
// content: the second holds the first one's worksheet columns (an empty cell
// as NULL), the further columns as the import sets them, and exports to the
// same workbook.
void TestExelRd::roundTrip()
{
    QFETCH(QString, type);
    makeFilledDatabase(path("first.sqlite"), type, 30, 0);
    makeFilledDatabase(path("second.sqlite"), type, 4, 1000);

    ProgramResult result
        = runExport({"--db", path("first.sqlite"), "--save", path("first.xlsx"), "--type", type});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    result
        = runImport({"--db", path("second.sqlite"), "--load", path("first.xlsx"), "--type", type});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err, QByteArray());

    for (const QString &table : kindTables(type)) {
        const Rows first = selectRows(path("first.sqlite"), table);
        const Rows second = selectRows(path("second.sqlite"), table);
        QCOMPARE(second.size(), first.size());
        const QStringList columns = tableColumns(table);
        const QMap<QString, QString> further = furtherValues(table);
        QCOMPARE(further.size(), columns.size() - sheetColumnCount(table));
        for (int r = 0; r < first.size(); ++r) {
            for (int c = 0; c < columns.size(); ++c) {
                const QVariant stored = second.at(r).at(c);
                const QString where
                    = QStringLiteral("%1 row %2 column %3").arg(table).arg(r).arg(columns.at(c));
                if (c >= sheetColumnCount(table)) {
                    const QString expected = further.value(columns.at(c));
                    QCOMPARE(text(stored), expected == "row" ? QString::number(r + 2) : expected);
                } else if (text(first.at(r).at(c)).isEmpty()) {
                    QVERIFY2(!stored.isValid(), qPrintable(where)); // NULL
                } else {
                    QVERIFY2(text(stored) == text(first.at(r).at(c)), qPrintable(where));
                }
            }
        }
    }

    result
        = runExport({"--db", path("second.sqlite"), "--save", path("second.xlsx"), "--type", type});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    bool ok = false;
    const QList<Sheet> firstWorkbook = readWorkbook(path("first.xlsx"), &ok);
    QVERIFY(ok);
    const QList<Sheet> secondWorkbook = readWorkbook(path("second.xlsx"), &ok);
    QVERIFY(ok);
    QCOMPARE(secondWorkbook.size(), firstWorkbook.size());
    for (int s = 0; s < firstWorkbook.size(); ++s) {
        QCOMPARE(secondWorkbook.at(s).name, firstWorkbook.at(s).name);
        QCOMPARE(secondWorkbook.at(s).rows, firstWorkbook.at(s).rows);
    }
}

void TestExelRd::headerOnlySheetEmptiesTable()
{
    makeFilledDatabase(path("db.sqlite"), "data_map_db", 5, 0);
    QVERIFY(writeWorkbook(path("wb.xlsx"),
        {{"MAPPING",
             {{"id", "active", "type", "param_1", "param_2", "param_3", "param_4", "param_5",
                 "param_6", "color"}}},
            {"PORTS", {{"id", "comm", "desc"}, {"7", "COM7", "port"}}}}));
    const ProgramResult result = runImport(
        {"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "data_map_db"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(selectRows(path("db.sqlite"), "data_map"), Rows());
    QCOMPARE(selectRows(path("db.sqlite"), "ports"), (Rows {{7, "COM7", "port", 2}}));
}

void TestExelRd::portsNumberedByWorksheetRow()
{
    makeFilledDatabase(path("db.sqlite"), "data_map_db", 2, 0);
    QVERIFY(writeWorkbook(path("wb.xlsx"),
        {{"PORTS",
             {{"id", "comm", "desc"}, {"1", "COM1", "a"}, {"2", "COM2", "b"}, {"3", "TCP", "c"}}},
            {"MAPPING", {{"id"}}}}));
    const ProgramResult result = runImport(
        {"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "data_map_db"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(selectRows(path("db.sqlite"), "ports"),
        (Rows {{1, "COM1", "a", 2}, {2, "COM2", "b", 3}, {3, "TCP", "c", 4}}));
}

// Rows are taken from row 2 down to the last used row, whatever the first
// used row is; a blank row between them gives a row of NULLs.
void TestExelRd::rowsUpToTheLastUsedRow()
{
    makeFilledDatabase(path("db.sqlite"), "modbus_server_db", 3, 0);
    QVERIFY(writeWorkbook(
        path("wb.xlsx"), {{"MAPPING", {{}, {"10", "m10"}, {}, {"12", "m12", "", "", "red"}}}}));
    const ProgramResult result = runImport(
        {"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "modbus_server_db"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(selectRows(path("db.sqlite"), "MAPPING"),
        (Rows {{10, "m10", QVariant(), QVariant(), QVariant(), "0"},
            {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), "0"},
            {12, "m12", QVariant(), QVariant(), "red", "0"}}));
}

void TestExelRd::biConvertLosesItsQuotes()
{
    makeFilledDatabase(path("db.sqlite"), "dnp3_db", 1, 0);
    const QStringList header {"index", "class", "map", "convert", "desc", "color"};
    QVERIFY(writeWorkbook(path("wb.xlsx"),
        {{"AI", {{"index"}, {"1", "2", "m", "\"d\"", "c"}}},
            {"AO", {header, {"1", "2", "m", "\"x\"", "d", "c"}}},
            {"BI",
                {header, {"1", "2", "m", "\"x*0.1\"", "d"}, {"2", "2", "m", "a\"b\"\"c"},
                    {"3", "2", "m", "plain"}}},
            {"BO", {header}}}));
    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "dnp3_db"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    const Rows bi = selectRows(path("db.sqlite"), "BI");
    QCOMPARE(bi.size(), 3);
    QCOMPARE(bi.at(0).at(3).toString(), QStringLiteral("x*0.1"));
    QCOMPARE(bi.at(1).at(3).toString(), QStringLiteral("abc"));
    QCOMPARE(bi.at(2).at(3).toString(), QStringLiteral("plain"));
    // Only BI's convert column loses its quotes.
    QCOMPARE(selectRows(path("db.sqlite"), "AO").at(0).at(3).toString(), QStringLiteral("\"x\""));
    QCOMPARE(selectRows(path("db.sqlite"), "AI").at(0),
        (QVariantList {1, 2, "m", "\"d\"", "c", "0", "0"}));
}

void TestExelRd::absentCellImportsAsNullEmptyTextAsEmptyText()
{
    QVERIFY(createDatabase(path("db.sqlite"), {"UNITS"}));
    {
        // Empty text written on purpose, next to a cell left out.
        QXlsx::Document document;
        QVERIFY(document.addSheet("UNITS"));
        QVERIFY(document.write(1, 1, "id"));
        QVERIFY(document.write(1, 2, "unit"));
        QVERIFY(document.write(2, 1, "5"));
        QVERIFY(document.write(2, 2, QString("")));
        QVERIFY(document.write(3, 1, "6"));
        QVERIFY(document.saveAs(path("wb.xlsx")));
    }
    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "units"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    const Rows rows = selectRows(path("db.sqlite"), "UNITS");
    QCOMPARE(rows, (Rows {{5, QString("")}, {6, QVariant()}}));
    QVERIFY(!rows.at(0).at(1).isNull());
}

void TestExelRd::unknownTypeChangesNothing()
{
    makeFilledDatabase(path("db.sqlite"), "units", 3, 0);
    QVERIFY(writeWorkbook(path("wb.xlsx"), {{"UNITS", {{"id", "unit"}}}}));
    const QByteArray before = fileBytes(path("db.sqlite"));
    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "unit"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err, QByteArray("Warning: unit is not a base type; nothing is read\n"));
    QCOMPARE(fileBytes(path("db.sqlite")), before);
}

// sqlite3's own dump of a database: every table, type and value as stored.
static QByteArray dump(const QString &fileName)
{
    const ProgramResult result = runProgram("sqlite3", {fileName, ".dump"});
    return result.exitCode == 0 ? result.out : QByteArray("sqlite3 failed: " + result.err);
}

void TestExelRd::everyValueComesBackUnderDump_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("schema"); // replaces the fixture's tables when given
    for (const char *type : {"data_db", "data_map_db", "dnp3_db", "modbus_server_db", "units"})
        QTest::newRow(type) << QString(type) << QStringList();
    QTest::newRow("NOT NULL text column holding ''")
        << "units"
        << QStringList {"CREATE TABLE UNITS (id INTEGER PRIMARY KEY, unit TEXT NOT NULL)"};
}

// NULL, '', integers, reals, long and awkward texts: exported and imported
// into a second database with other content, the second dumps exactly as
// the first (whose further columns hold what the import puts there).
void TestExelRd::everyValueComesBackUnderDump()
{
    QFETCH(QString, type);
    QFETCH(QStringList, schema);
    const QStringList texts = awkwardTexts();
    for (const QString &name : {QString("first.sqlite"), QString("second.sqlite")}) {
        if (schema.isEmpty())
            QVERIFY(createDatabase(path(name), kindTables(type)));
        else
            QVERIFY(execute(path(name), schema));
    }
    for (const QString &table : kindTables(type)) {
        const QStringList columns = tableColumns(table);
        const QMap<QString, QString> further = furtherValues(table);
        Rows rows;
        for (int r = 0; r < 40; ++r) {
            QVariantList row;
            for (int c = 0; c < columns.size(); ++c) {
                const QString column = columns.at(c);
                if (c >= sheetColumnCount(table)) {
                    const QString value = further.value(column);
                    row.append(value == "row" ? QVariant(r + 2) : QVariant(value));
                } else if (c == 0) {
                    row.append(r + 1);
                } else {
                    const QVariantList kinds {QVariant(), QString(""), r * 7 - 100, r / 8.0 + 1e-9,
                        texts.at(r % texts.size())};
                    QVariant value = kinds.at((r + c) % kinds.size());
                    // The import takes every double quote out of BI's convert column.
                    if (table == "BI" && column == "convert"
                        && value.userType() == QMetaType::QString)
                        value = value.toString().remove('"');
                    row.append(!schema.isEmpty() && value.isNull() ? QString("") : value);
                }
            }
            rows.append(row);
        }
        QVERIFY(insertRows(path("first.sqlite"), table, rows));
        QVERIFY(insertRows(path("second.sqlite"), table, rows.mid(0, 3)));
    }
    QVERIFY(execute(path("second.sqlite"), {"PRAGMA user_version = 7"}));

    ProgramResult result
        = runExport({"--db", path("first.sqlite"), "--save", path("wb.xlsx"), "--type", type});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    result = runImport({"--db", path("second.sqlite"), "--load", path("wb.xlsx"), "--type", type});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    const QByteArray first = dump(path("first.sqlite"));
    QVERIFY(first.contains("INSERT INTO"));
    QCOMPARE(dump(path("second.sqlite")), first);
}

void TestExelRd::formulaCellsGiveTheirStoredResult()
{
    makeFilledDatabase(path("db.sqlite"), "units", 2, 0);
    // As openpyxl and spreadsheet programs write them: with a cached result,
    // a text result, an empty text result, and none at all.
    const QByteArray sheet = PackageMaker::worksheet(
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>id</t></is></c></row>"
        "<row r=\"2\"><c r=\"A2\"><f>1+1</f><v>2</v></c>"
        "<c r=\"B2\" t=\"str\"><f>\"k\"&amp;\"V\"</f><v>kV</v></c></row>"
        "<row r=\"3\"><c r=\"A3\"><v>3</v></c><c r=\"B3\" t=\"str\"><f>\"\"</f><v></v></c></row>"
        "<row r=\"4\"><c r=\"A4\"><v>4</v></c><c r=\"B4\"><f>A4*2</f><v/></c></row>"
        "<row r=\"5\"><c r=\"A5\"><v>5</v></c><c r=\"B5\"><f>A5*2</f></c></row>");
    QVERIFY(PackageMaker::write(
        path("wb.xlsx"), PackageMaker::singleSheet(sheet, QByteArray(), "UNITS")));
    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "units"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err,
        QByteArray("Warning: worksheet UNITS, cell B4 holds a formula without a stored result; "
                   "it is read as an empty cell\n"
                   "Warning: worksheet UNITS, cell B5 holds a formula without a stored result; "
                   "it is read as an empty cell\n"));
    QCOMPARE(selectRows(path("db.sqlite"), "UNITS"),
        (Rows {{2, "kV"}, {3, QString("")}, {4, QVariant()}, {5, QVariant()}}));
}

void TestExelRd::hostileWorkbookEndsInError_data()
{
    QTest::addColumn<QByteArray>("sheetData");
    QTest::addColumn<QString>("reason");
    const QByteArray header
        = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>id</t></is></c></row>";
    QTest::newRow("decompression bomb: 64 MiB of blanks")
        << header + QByteArray(64 * 1024 * 1024, ' ') << "more than 250 times";
    // Counting text deflates only a few times: the token itself is too long.
    QByteArray counting;
    for (int i = 0; counting.size() <= 17 * 1024 * 1024; ++i)
        counting += QByteArray::number(i) + ' ';
    QTest::newRow("text of 17 MiB in one cell") << header
            + "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>" + counting + "</t></is></c></row>"
                                                << "longer than 16777216 bytes";
    QTest::newRow("tag of 17 MiB")
        << header + "<row r=\"2\" " + counting.replace(' ', 'x') + "=\"1\"/>"
        << "longer than 16777216 bytes";
    QTest::newRow("elements nested 300 deep") << header + QByteArray("<x>").repeated(300)
            + QByteArray("</x>").repeated(300) << "nested deeper than 256";
    QTest::newRow("entity never declared")
        << QByteArray("<row r=\"2\"><c r=\"A2\"><v>&e;</v></c></row>") << "unknown entity";
    QTest::newRow("rows out of order")
        << header + "<row r=\"3\"><c><v>3</v></c></row><row r=\"2\"><c><v>2</v></c></row>"
        << "row 2 comes after row 3";
    QTest::newRow("bytes that are not UTF-8")
        << header + "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>\xff\xfe</t></is></c></row>"
        << "not UTF-8";
}

// A hostile or damaged worksheet ends the import with "Error", its reason
// on standard error and status -1, never a signal; the database keeps every
// byte.
void TestExelRd::hostileWorkbookEndsInError()
{
    QFETCH(QByteArray, sheetData);
    QFETCH(QString, reason);
    makeFilledDatabase(path("db.sqlite"), "units", 5, 0);
    QVERIFY(PackageMaker::write(path("wb.xlsx"),
        PackageMaker::singleSheet(PackageMaker::worksheet(sheetData), QByteArray(), "UNITS")));
    const QByteArray before = fileBytes(path("db.sqlite"));
    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "units"});
    QVERIFY(result.finished && !result.crashed);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY2(result.err.contains(reason.toUtf8()), result.err.left(500));
    QVERIFY(fileBytes(path("db.sqlite")) == before);
}

void TestExelRd::failureLeavesDatabaseUnchanged_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("missingTables"); // dropped from the database
    QTest::addColumn<QList<Sheet>>("workbook"); // empty: the --load file below instead
    QTest::addColumn<QByteArray>("loadFile"); // written as the workbook when not empty
    QTest::addColumn<QString>("reason"); // in the message on standard error

    const QStringList mapHeader {"id", "active", "type", "param_1", "param_2", "param_3", "param_4",
        "param_5", "param_6", "color"};
    QList<QStringList> manyRows {mapHeader};
    for (int i = 1; i <= 30000; ++i) {
        manyRows.append({QString::number(i), "1", "2", QStringLiteral("p%1").arg(i), "x", "y",
            QString::fromUtf8("zażółć %1").arg(i), "", "", "red"});
    }

    QTest::newRow("workbook missing")
        << "units" << QStringList() << QList<Sheet>() << QByteArray() << "missing.xlsx";
    QTest::newRow("workbook not an xlsx file")
        << "units" << QStringList() << QList<Sheet>() << QByteArray("id;unit\n1;V\n") << "wb.xlsx";
    QTest::newRow("worksheet missing")
        << "data_db" << QStringList()
        << QList<Sheet> {{"BIBO", {{"ref"}, {"1"}}}, {"MEAS", {{"ref"}, {"2"}}}} << QByteArray()
        << "CTRL";
    QTest::newRow("worksheet named in another case")
        << "units" << QStringList() << QList<Sheet> {{"Units", {{"id", "unit"}, {"1", "V"}}}}
        << QByteArray() << "UNITS";
    QTest::newRow("table missing from the database")
        << "data_map_db" << QStringList {"ports"}
        << QList<Sheet> {{"MAPPING", {mapHeader, {"1"}}}, {"PORTS", {{"id"}, {"1"}}}}
        << QByteArray() << "ports";
    QTest::newRow("value the key column refuses")
        << "units" << QStringList()
        << QList<Sheet> {{"UNITS", {{"id", "unit"}, {"1", "V"}, {"x", "A"}}}} << QByteArray()
        << "row 3";
    QTest::newRow("duplicate key after 30000 rows of another table")
        << "data_map_db" << QStringList()
        << QList<Sheet> {{"MAPPING", manyRows},
               {"PORTS",
                   {{"id", "comm", "desc"}, {"1", "COM1", ""}, {"2", "COM2", ""},
                       {"1", "COM3", ""}}}}
        << QByteArray() << "PORTS, row 4";
}

// Whatever fails, the database file keeps every byte and no journal is left
// behind; "Error" is printed and the status is -1.
void TestExelRd::failureLeavesDatabaseUnchanged()
{
    QFETCH(QString, type);
    QFETCH(QStringList, missingTables);
    QFETCH(QList<Sheet>, workbook);
    QFETCH(QByteArray, loadFile);
    QFETCH(QString, reason);

    makeFilledDatabase(path("db.sqlite"), type, 50, 0);
    for (const QString &table : missingTables)
        QVERIFY(execute(path("db.sqlite"), {QStringLiteral("DROP TABLE %1").arg(table)}));
    QString load = path("missing.xlsx");
    if (!workbook.isEmpty()) {
        load = path("wb.xlsx");
        QVERIFY(writeWorkbook(load, workbook));
    } else if (!loadFile.isEmpty()) {
        load = path("wb.xlsx");
        QFile file(load);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(loadFile);
    }
    const QByteArray before = fileBytes(path("db.sqlite"));
    const QStringList entries = folderEntries(dir->path());

    const ProgramResult result
        = runImport({"--db", path("db.sqlite"), "--load", load, "--type", type});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY2(result.err.contains(reason.toUtf8()), result.err);
    QVERIFY(fileBytes(path("db.sqlite")) == before);
    QCOMPARE(folderEntries(dir->path()), entries);
}

void TestExelRd::lockedDatabaseIsLeftUnchanged_data()
{
    QTest::addColumn<QStringList>("holding"); // statements of the other program
    QTest::addColumn<QString>("failing"); // the statement that gives up
    QTest::newRow("writer holds it from the start")
        << QStringList {"BEGIN EXCLUSIVE"} << "Database";
    QTest::newRow("reader holds it at commit")
        << QStringList {"BEGIN", "SELECT count(*) FROM UNITS"} << "COMMIT";
}

// Another program holds the database: the import waits its busy time-out,
// gives up at the statement that needs the lock and changes nothing.
void TestExelRd::lockedDatabaseIsLeftUnchanged()
{
    QFETCH(QStringList, holding);
    QFETCH(QString, failing);
    makeFilledDatabase(path("db.sqlite"), "units", 5, 0);
    QVERIFY(writeWorkbook(path("wb.xlsx"), {{"UNITS", {{"id", "unit"}, {"1", "V"}}}}));
    const QByteArray before = fileBytes(path("db.sqlite"));
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(path("db.sqlite"));
        QVERIFY(holder.open());
        QSqlQuery lock(holder);
        for (const QString &statement : holding) {
            QVERIFY(lock.exec(statement));
            lock.next(); // a read keeps its lock while the transaction lasts
        }

        const ProgramResult result
            = runImport({"--db", path("db.sqlite"), "--load", path("wb.xlsx"), "--type", "units"});
        QCOMPARE(result.exitCode, ExitFailure);
        QCOMPARE(result.out, QByteArray("Error\r\n"));
        QVERIFY2(
            result.err.startsWith(failing.toUtf8()) && result.err.contains("locked"), result.err);

        lock.finish();
        QVERIFY(lock.exec("ROLLBACK"));
        holder.close();
    }
    QSqlDatabase::removeDatabase("holder");
    QVERIFY(fileBytes(path("db.sqlite")) == before);
    QCOMPARE(folderEntries(dir->path()), QStringList({"db.sqlite", "wb.xlsx"}));
    QCOMPARE(selectRows(path("db.sqlite"), "UNITS").size(), 5);
}

QTEST_GUILESS_MAIN(TestExelRd)
#include "tst_exelrd.moc"
