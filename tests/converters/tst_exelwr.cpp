// qelExelWr as a program: help and required options, the worksheets of every
// database kind, the failures and warnings around a database that is missing
// or incomplete, and a workbook that cannot be saved.

#include "configfixture.h"
#include "filetargets.h"
#include "programrun.h"
#include "xlsxdocument.h"

#include <QProcess>

#include <QTemporaryDir>

#include <QtTest>

#include <csignal>
#include <sys/stat.h>

using namespace ConfigFixture;

namespace {

ProgramResult runExport(const QStringList &arguments)
{
    return runProgram(programPath("qelExelWr"), arguments);
}

QString blanks(int count)
{
    return QString(count, QLatin1Char(' '));
}

// A cell as the export writes it: the value's text, NULL as empty.
QString cellText(const QVariant &value)
{
    return value.isValid() ? value.toString() : QString();
}

// Rows for a table: every worksheet column cycles through awkward texts,
// NULL, empty text and numbers; key columns count up.
Rows sampleRows(const QString &table, int count)
{
    const QStringList texts = awkwardTexts();
    const QStringList columns = tableColumns(table);
    Rows rows;
    for (int r = 0; r < count; ++r) {
        QVariantList row;
        for (int c = 0; c < columns.size(); ++c) {
            const QString &column = columns.at(c);
            if (column == "id" || column == "ref" || column == "index" || column == "addr") {
                row.append(r + 1);
                continue;
            }
            switch ((r + c) % (texts.size() + 3)) {
            case 0:
                row.append(QVariant());
                break;
            case 1:
                row.append(QString(""));
                break;
            case 2:
                row.append(r * 10 + c + 0.5);
                break;
            default:
                row.append(texts.at((r + c) % texts.size()));
            }
        }
        rows.append(row);
    }
    return rows;
}

} // namespace

class TestExelWr : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void help_data();
    void help();
    void requiredParameters_data();
    void requiredParameters();
    void missingDatabaseIsNotCreated();
    void fileThatIsNotADatabase();

    void everyKind_data();
    void everyKind();
    void unitsExample();
    void biConvertBetweenQuotes();
    void missingTableGivesHeaderRowAndWarning();
    void missingColumnGivesEmptyCellsAndWarning();
    void unknownTypeWritesNothing();
    void failedSaveKeepsExistingWorkbook();
    void saveOverTheDatabaseIsRefused();
    void databaseIsNotChanged();
    void textTooLongForSpreadsheetProgramsWarns();
    void nullIsAbsentEmptyTextIsEmptyCellBlobWarns();
    void saveIntoTargetsThatAreNotFiles_data();
    void saveIntoTargetsThatAreNotFiles();
    void damagedDatabaseEndsInError_data();
    void damagedDatabaseEndsInError();
    void stopSignalLeavesNothingBehind_data();
    void stopSignalLeavesNothingBehind();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestExelWr::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestExelWr::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("--help") << QStringList {"--help"};
    QTest::newRow("--help among others") << QStringList {"--db", "x.sqlite", "--help", "--type"};
    QTest::newRow("no known option") << QStringList {"-db", "x", "save=x"};
}

void TestExelWr::help()
{
    QFETCH(QStringList, arguments);
    const ProgramResult result = runExport(arguments);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    const QString expected = "qelExelWr.exe --db db.sqlite --save db.xlsx --type data_db\r\n\r\n"
                             " --db "
        + blanks(14) + "Sqlite base\r\n --save " + blanks(12) + "Save to file\r\n --type "
        + blanks(12) + "Base type\r\n  " + blanks(18) + "; data_db\r\n  " + blanks(18)
        + "; data_map_db\r\n  " + blanks(18) + "; dnp3_db\r\n  " + blanks(18)
        + "; modbus_server_db\r\n  " + blanks(18) + "; units\r\n --help " + blanks(12) + "Help\r\n";
    QCOMPARE(QString::fromUtf8(result.out), expected);
    QCOMPARE(result.err, QByteArray());
}

void TestExelWr::requiredParameters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("missing");
    QTest::newRow("--db as the last argument")
        << QStringList {"-verbose", "1", "--db"} << " --save\r\n --type\r\n";
    QTest::newRow("--db only") << QStringList {"--db", "a.sqlite"} << " --save\r\n --type\r\n";
    QTest::newRow("--save and --type")
        << QStringList {"--save", "a.xlsx", "--type", "units"} << " --db\r\n";
    QTest::newRow("--type") << QStringList {"--save", "a.xlsx", "--db", "a.sqlite"}
                            << " --type\r\n";
    QTest::newRow("none given") << QStringList {"--type", "units"} << " --save\r\n --db\r\n";
}

void TestExelWr::requiredParameters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, missing);
    const ProgramResult result = runExport(arguments);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(QString::fromUtf8(result.out), "Required parameters:\r\n" + missing);
    QCOMPARE(result.err, QByteArray());
    QVERIFY(!QFileInfo::exists(path("a.xlsx")));
}

void TestExelWr::missingDatabaseIsNotCreated()
{
    const ProgramResult result
        = runExport({"--db", path("none.sqlite"), "--save", path("out.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY2(result.err.contains("none.sqlite"), result.err);
    QVERIFY(!QFileInfo::exists(path("none.sqlite")));
    QVERIFY(!QFileInfo::exists(path("out.xlsx")));
    QCOMPARE(folderEntries(dir->path()), QStringList());
}

void TestExelWr::fileThatIsNotADatabase()
{
    QFile text(path("notes.sqlite"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    const ProgramResult result
        = runExport({"--db", path("notes.sqlite"), "--save", path("out.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY(!QFileInfo::exists(path("out.xlsx")));
    QCOMPARE(fileBytes(path("notes.sqlite")), QByteArray(4096, 'x'));
}

void TestExelWr::everyKind_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("sheets");
    QTest::addColumn<QList<QStringList>>("headers");
    QTest::newRow("data_db") << "data_db" << QStringList {"BIBO", "MEAS", "CTRL"}
                             << QList<QStringList> {
                                    {"ref", "visible", "view", "txt", "desc", "type", "color"},
                                    {"ref", "visible", "view", "txt", "unit", "desc", "color"},
                                    {"ref", "visible", "view", "txt", "desc", "color"}};
    QTest::newRow("data_map_db") << "data_map_db" << QStringList {"MAPPING", "PORTS"}
                                 << QList<QStringList> {
                                        {"id", "active", "type", "param_1", "param_2", "param_3",
                                            "param_4", "param_5", "param_6", "color"},
                                        {"id", "comm", "desc"}};
    QTest::newRow("dnp3_db") << "dnp3_db" << QStringList {"AI", "AO", "BI", "BO"}
                             << QList<QStringList> {{"index", "class", "map", "desc", "color"},
                                    {"index", "class", "map", "convert", "desc", "color"},
                                    {"index", "class", "map", "convert", "desc", "color"},
                                    {"index", "class", "map", "convert", "desc", "color"}};
    QTest::newRow("modbus_server_db")
        << "modbus_server_db" << QStringList {"MAPPING"}
        << QList<QStringList> {{"addr", "map", "conversion", "desc", "color"}};
    QTest::newRow("units") << "units" << QStringList {"UNITS"}
                           << QList<QStringList> {{"id", "unit"}};
}

void TestExelWr::everyKind()
{
    QFETCH(QString, type);
    QFETCH(QStringList, sheets);
    QFETCH(QList<QStringList>, headers);
    const QStringList tables = kindTables(type);
    QVERIFY(createDatabase(path("db.sqlite"), tables));
    for (const QString &table : tables)
        QVERIFY(insertRows(path("db.sqlite"), table, sampleRows(table, 25)));

    const ProgramResult result
        = runExport({"--db", path("db.sqlite"), "--save", path("db.xlsx"), "--type", type});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err, QByteArray());

    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("db.xlsx"), &ok);
    QVERIFY(ok);
    QStringList names;
    for (const Sheet &sheet : workbook)
        names.append(sheet.name);
    QCOMPARE(names, sheets);
    for (int s = 0; s < workbook.size(); ++s) {
        const Sheet &sheet = workbook.at(s);
        const QString table = tables.at(s);
        QCOMPARE(sheet.rows.value(0), headers.at(s));
        const Rows rows = selectRows(path("db.sqlite"), table);
        QCOMPARE(sheet.rows.size(), rows.size() + 1);
        for (int r = 0; r < rows.size(); ++r) {
            QStringList expected;
            for (int c = 0; c < headers.at(s).size(); ++c) {
                const int field = tableColumns(table).indexOf(headers.at(s).at(c));
                const QString text = cellText(rows.at(r).at(field));
                // NULL is an absent cell, in the quoted column too.
                const bool quoted = table == "BI" && c == 3 && rows.at(r).at(field).isValid();
                expected.append(quoted ? "\"" + text + "\"" : text);
            }
            QCOMPARE(sheet.rows.at(r + 1), expected);
        }
    }
}

void TestExelWr::unitsExample()
{
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    QVERIFY(insertRows(path("units.sqlite"), "UNITS", {{1, "V"}, {2, "A"}}));
    const ProgramResult result = runExport(
        {"--db", path("units.sqlite"), "--save", path("units.xlsx"), "--type", "units"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("units.xlsx"), &ok);
    QVERIFY(ok);
    QCOMPARE(workbook.size(), 1);
    QCOMPARE(workbook.at(0).name, QStringLiteral("UNITS"));
    QCOMPARE(workbook.at(0).rows, (QList<QStringList> {{"id", "unit"}, {"1", "V"}, {"2", "A"}}));
}

void TestExelWr::biConvertBetweenQuotes()
{
    QVERIFY(createDatabase(path("dnp3.sqlite"), kindTables("dnp3_db")));
    QVERIFY(insertRows(path("dnp3.sqlite"), "BI",
        {{1, 0, "m1", "x*2", "d", "c", "v"}, {2, 1, "m2", QVariant(), "", "", ""}}));
    QVERIFY(insertRows(path("dnp3.sqlite"), "BO", {{1, 0, "m1", "x*2", "d", "c", "v"}}));
    QVERIFY(insertRows(path("dnp3.sqlite"), "AI", {{1, 0, "m1", "d", "c", "x*3", "v"}}));
    const ProgramResult result = runExport(
        {"--db", path("dnp3.sqlite"), "--save", path("dnp3.xlsx"), "--type", "dnp3_db"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("dnp3.xlsx"), &ok);
    QVERIFY(ok);
    QCOMPARE(workbook.at(2).name, QStringLiteral("BI"));
    QCOMPARE(workbook.at(2).rows.at(1), (QStringList {"1", "0", "m1", "\"x*2\"", "d", "c"}));
    // NULL stays an absent cell, so that it imports back as NULL; '' is quoted.
    QCOMPARE(workbook.at(2).rows.at(2), (QStringList {"2", "1", "m2", "", "", ""}));
    QCOMPARE(workbook.at(3).rows.at(1), (QStringList {"1", "0", "m1", "x*2", "d", "c"}));
    // AI carries no convert column: its value is not exported.
    QCOMPARE(workbook.at(0).rows.at(1), (QStringList {"1", "0", "m1", "d", "c"}));
}

void TestExelWr::missingTableGivesHeaderRowAndWarning()
{
    QVERIFY(createDatabase(path("data.sqlite"), {"BIBO", "CTRL"}));
    QVERIFY(insertRows(path("data.sqlite"), "BIBO", sampleRows("BIBO", 3)));
    QVERIFY(insertRows(path("data.sqlite"), "CTRL", sampleRows("CTRL", 2)));
    const ProgramResult result = runExport(
        {"--db", path("data.sqlite"), "--save", path("data.xlsx"), "--type", "data_db"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err,
        QByteArray("Warning: the database has no table MEAS; worksheet MEAS holds "
                   "its header row only\n"));
    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("data.xlsx"), &ok);
    QVERIFY(ok);
    QCOMPARE(workbook.size(), 3);
    QCOMPARE(workbook.at(0).rows.size(), 4);
    QCOMPARE(workbook.at(1).name, QStringLiteral("MEAS"));
    QCOMPARE(workbook.at(1).rows,
        (QList<QStringList> {{"ref", "visible", "view", "txt", "unit", "desc", "color"}}));
    QCOMPARE(workbook.at(2).rows.size(), 3);
}

void TestExelWr::missingColumnGivesEmptyCellsAndWarning()
{
    QVERIFY(execute(path("units.sqlite"),
        {"CREATE TABLE UNITS (id INTEGER PRIMARY KEY, name TEXT)",
            "INSERT INTO UNITS VALUES (4, 'kV')"}));
    const ProgramResult result = runExport(
        {"--db", path("units.sqlite"), "--save", path("units.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err,
        QByteArray("Warning: table UNITS has no column unit; its cells are left empty\n"));
    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("units.xlsx"), &ok);
    QVERIFY(ok);
    // The empty cell is still written: the row keeps its full width.
    QCOMPARE(workbook.at(0).rows, (QList<QStringList> {{"id", "unit"}, {"4", ""}}));
}

void TestExelWr::unknownTypeWritesNothing()
{
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    const ProgramResult result
        = runExport({"--db", path("units.sqlite"), "--save", path("out.xlsx"), "--type", "Units"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err, QByteArray("Warning: Units is not a base type; nothing is written\n"));
    QVERIFY(!QFileInfo::exists(path("out.xlsx")));
}

void TestExelWr::failedSaveKeepsExistingWorkbook()
{
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    const ProgramResult result = runExport(
        {"--db", path("units.sqlite"), "--save", path("no folder/out.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY2(result.err.contains("out.xlsx"), result.err);
    QVERIFY(!QFileInfo::exists(path("no folder")));

    QVERIFY(QDir(dir->path()).mkdir("taken.xlsx"));
    const ProgramResult onFolder = runExport(
        {"--db", path("units.sqlite"), "--save", path("taken.xlsx"), "--type", "units"});
    QCOMPARE(onFolder.exitCode, ExitFailure);
    QCOMPARE(onFolder.out, QByteArray("Error\r\n"));
    QVERIFY(QFileInfo(path("taken.xlsx")).isDir());
}

void TestExelWr::saveOverTheDatabaseIsRefused()
{
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    QVERIFY(insertRows(path("units.sqlite"), "UNITS", {{1, "V"}}));
    const QByteArray before = fileBytes(path("units.sqlite"));
    const ProgramResult result = runExport({"--db", path("units.sqlite"), "--save",
        dir->path() + "/./units.sqlite", "--type", "units"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QCOMPARE(fileBytes(path("units.sqlite")), before);
}

void TestExelWr::databaseIsNotChanged()
{
    QVERIFY(createDatabase(path("data.sqlite"), kindTables("data_db")));
    for (const QString &table : kindTables("data_db"))
        QVERIFY(insertRows(path("data.sqlite"), table, sampleRows(table, 40)));
    const QByteArray before = fileBytes(path("data.sqlite"));
    const ProgramResult result = runExport(
        {"--db", path("data.sqlite"), "--save", path("data.xlsx"), "--type", "data_db"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(fileBytes(path("data.sqlite")), before);
    QCOMPARE(folderEntries(dir->path()), QStringList({"data.sqlite", "data.xlsx"}));
}

void TestExelWr::textTooLongForSpreadsheetProgramsWarns()
{
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    const QString longest(32767, 'a');
    const QString tooLong = QString(40000, 'b');
    QVERIFY(insertRows(path("units.sqlite"), "UNITS", {{1, longest}, {2, tooLong}}));
    const ProgramResult result = runExport(
        {"--db", path("units.sqlite"), "--save", path("units.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err,
        QByteArray("Warning: worksheet UNITS, cell B3 holds 40000 characters; "
                   "spreadsheet programs keep at most 32767\n"));
    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("units.xlsx"), &ok);
    QVERIFY(ok);
    QCOMPARE(workbook.at(0).rows.at(1).at(1), longest);
    QCOMPARE(workbook.at(0).rows.at(2).at(1), tooLong); // written in full all the same
}

void TestExelWr::nullIsAbsentEmptyTextIsEmptyCellBlobWarns()
{
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    QVERIFY(insertRows(path("units.sqlite"), "UNITS",
        {{1, QVariant()}, {2, QString("")}, {3, QByteArray("\x00\x01\x02", 3)}, {4, 2.5}}));
    const ProgramResult result = runExport(
        {"--db", path("units.sqlite"), "--save", path("units.xlsx"), "--type", "units"});
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    QCOMPARE(result.err,
        QByteArray("Warning: table UNITS, row 3, column unit holds a BLOB of 3 bytes, which a "
                   "workbook cannot hold; cell B4 of worksheet UNITS is left empty\n"));
    QXlsx::Document workbook(path("units.xlsx"));
    QVERIFY(workbook.selectSheet("UNITS"));
    QVERIFY(!workbook.read(2, 2).isValid()); // NULL: no cell
    QCOMPARE(workbook.read(3, 2), QVariant(QString(""))); // '': an empty text cell
    QVERIFY(!workbook.read(4, 2).isValid()); // the BLOB
    QCOMPARE(workbook.read(5, 2), QVariant(QString("2.5")));
    QCOMPARE(workbook.dimension().toString(), QString("A1:B5"));
}

void TestExelWr::saveIntoTargetsThatAreNotFiles_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("FIFO read by another process") << "fifo";
    QTest::newRow("/dev/stdout into a pipe") << "stdout";
    QTest::newRow("private null device") << "null device";
    QTest::newRow("private full device") << "full device";
}

// A target that is not a regular file is written into and stays what it was;
// a device that refuses the write gives the system's reason.
void TestExelWr::saveIntoTargetsThatAreNotFiles()
{
    QFETCH(QString, target);
    QVERIFY(createDatabase(path("units.sqlite"), {"UNITS"}));
    QVERIFY(insertRows(path("units.sqlite"), "UNITS", {{1, "V"}, {2, "kA"}}));
    const QStringList arguments {"--db", path("units.sqlite"), "--type", "units", "--save"};
    QByteArray received;
    ProgramResult result;
    if (target == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0);
        QProcess reader;
        reader.start("cat", {path("fifo")});
        QVERIFY(reader.waitForStarted());
        result = runExport(arguments + QStringList {path("fifo")});
        QVERIFY(reader.waitForFinished(30000));
        received = reader.readAllStandardOutput();
        QCOMPARE(fileKind(path("fifo")), QString("fifo"));
    } else if (target == "stdout") {
        result = runExport(arguments + QStringList {"/dev/stdout"});
        received = result.out.left(result.out.size() - 6); // the workbook, then "Done\r\n"
        result.out = result.out.right(6);
    } else {
        const bool full = target == "full device";
        if (!makeCharacterDevice(path("device"), MemoryDevices, full ? FullMinor : NullMinor))
            QSKIP("private device nodes need root");
        result = runExport(arguments + QStringList {path("device")});
        QCOMPARE(fileKind(path("device")), QString("character device"));
        if (full) {
            QCOMPARE(result.out, QByteArray("Error\r\n"));
            QVERIFY2(result.err.contains("No space left on device"), result.err);
            return;
        }
    }
    QCOMPARE(result.out, QByteArray("Done\r\n"));
    if (target == "null device")
        return;
    QFile copy(path("received.xlsx"));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write(received);
    copy.close();
    bool ok = false;
    const QList<Sheet> workbook = readWorkbook(path("received.xlsx"), &ok);
    QVERIFY(ok);
    QCOMPARE(
        workbook.value(0).rows, (QList<QStringList> {{"id", "unit"}, {"1", "V"}, {"2", "kA"}}));
}

void TestExelWr::damagedDatabaseEndsInError_data()
{
    QTest::addColumn<int>("page"); // counted from the table's root page
    QTest::addColumn<QByteArray>("bytes"); // written at the start of that page
    QTest::addColumn<QString>("reason");
    // An interior page read as a leaf without cells: the table reads as empty,
    // without an error from the query.
    QTest::newRow("root page turned into an empty leaf")
        << 0 << QByteArray("\x0D\0\0\0\0\x04\0\0", 8) << "Page 3 is never used";
    QTest::newRow("leaf page zeroed") << 5 << QByteArray(1024, '\0') << "malformed";
    QTest::newRow("cell pointers of a leaf scrambled")
        << 7 << QByteArray("\x0D\0\0\0\x30\x01\0\0\x01\x02\x03\x04", 12) << "damaged";
}

// A database that fails SQLite's integrity check ends in "Error" with its
// findings, whatever the queries of the export would have made of it; an
// earlier workbook stays as it was.
void TestExelWr::damagedDatabaseEndsInError()
{
    QFETCH(int, page);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString database = path("damaged.sqlite");
    QVERIFY(execute(database,
        {"PRAGMA page_size = 1024", "CREATE TABLE UNITS (id INTEGER, unit TEXT)",
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n LIMIT 2000) "
            "INSERT INTO UNITS SELECT i, 'unit number ' || i FROM n"}));
    const ProgramResult root = runProgram(
        "sqlite3", {database, "SELECT rootpage FROM sqlite_master WHERE name = 'UNITS'"});
    const int rootPage = root.out.trimmed().toInt();
    QVERIFY2(rootPage > 0, root.err);
    QFile file(database);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(qint64(rootPage - 1 + page) * 1024));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();
    QVERIFY(writeWorkbook(path("earlier.xlsx"), {{"UNITS", {{"id", "unit"}, {"1", "V"}}}}));
    const QByteArray earlier = fileBytes(path("earlier.xlsx"));

    const ProgramResult result
        = runExport({"--db", database, "--save", path("earlier.xlsx"), "--type", "units"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray("Error\r\n"));
    QVERIFY2(result.err.contains(reason.toUtf8()), result.err);
    QCOMPARE(fileBytes(path("earlier.xlsx")), earlier);
    QCOMPARE(folderEntries(dir->path()), QStringList({"damaged.sqlite", "earlier.xlsx"}));
}

void TestExelWr::stopSignalLeavesNothingBehind_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("target"); // "new", "existing" or "fifo"
    QTest::newRow("SIGTERM, workbook not there before") << int(SIGTERM) << "new";
    QTest::newRow("SIGINT, workbook not there before") << int(SIGINT) << "new";
    QTest::newRow("SIGTERM, earlier workbook") << int(SIGTERM) << "existing";
    QTest::newRow("SIGINT, earlier workbook") << int(SIGINT) << "existing";
    QTest::newRow("SIGTERM, FIFO nobody reads") << int(SIGTERM) << "fifo";
}

// The signal comes while the workbook is written beside its target (a table
// of 1,048,575 rows, computed by a view): the program ends with "Error", the
// target as it was and no hidden workbook left beside it. Into a FIFO that
// nobody reads, where the program waits for a reader, the signal ends it at
// once as it would any program.
void TestExelWr::stopSignalLeavesNothingBehind()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, target);
    const QString database = path("view.sqlite");
    QVERIFY(execute(database,
        {"CREATE VIEW UNITS AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
         "LIMIT 1048575) SELECT i AS id, 'unit ' || i AS unit FROM n"}));
    const QString workbook = path("units.xlsx");
    if (target == "existing")
        QVERIFY(writeWorkbook(workbook, {{"UNITS", {{"id", "unit"}, {"1", "V"}}}}));
    if (target == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(workbook).constData(), 0600), 0);
    const QByteArray before = target == "existing" ? fileBytes(workbook) : QByteArray();
    const QStringList entries = folderEntries(dir->path());

    QProcess exporter;
    exporter.start(
        programPath("qelExelWr"), {"--db", database, "--save", workbook, "--type", "units"});
    QVERIFY(exporter.waitForStarted());
    const pid_t pid = pid_t(exporter.processId());
    if (target == "fifo") {
        const auto waitsForReader = [pid] {
            QFile channel(QStringLiteral("/proc/%1/wchan").arg(pid));
            return channel.open(QIODevice::ReadOnly) && channel.readAll() == "wait_for_partner";
        };
        QVERIFY(QTest::qWaitFor(waitsForReader, 30000));
    } else {
        const auto begun
            = [this, &entries] { return folderEntries(dir->path()).size() > entries.size(); };
        QVERIFY(QTest::qWaitFor(begun, 30000));
    }
    QCOMPARE(::kill(pid, signalNumber), 0);
    QVERIFY(exporter.waitForFinished(30000));

    if (target == "fifo") {
        QCOMPARE(exporter.exitStatus(), QProcess::CrashExit);
        QCOMPARE(folderEntries(dir->path()), entries);
        return;
    }
    QCOMPARE(exporter.exitStatus(), QProcess::NormalExit);
    QCOMPARE(exporter.exitCode(), ExitFailure);
    QCOMPARE(exporter.readAllStandardOutput(), QByteArray("Error\r\n"));
    QCOMPARE(exporter.readAllStandardError(),
        "Stopped by a signal: the workbook " + workbook.toUtf8() + " is left as it was\n");
    QCOMPARE(folderEntries(dir->path()), entries);
    if (target == "existing")
        QCOMPARE(fileBytes(workbook), before);
}

QTEST_GUILESS_MAIN(TestExelWr)
#include "tst_exelwr.moc"
