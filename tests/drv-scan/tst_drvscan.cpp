// qelDrvScan against the device simulator on pseudo-terminals given with
// --port: the usage text, the progress lines of every attempt, the order of
// baud rates and addresses, the database mode with its rows and progress as
// another connection sees them during the scan, and databases that cannot be
// used.

#include "devsim.h"
#include "filenames.h"
#include "programrun.h"
#include "scannerrun.h"
#include "testcertificates.h"
#include "wireframe.h"

#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

const QStringList Tables {"CREATE TABLE devices (port TEXT, address TEXT, baudrate TEXT, "
                          "identification TEXT, sn TEXT)",
    "CREATE TABLE progress (key TEXT PRIMARY KEY, value INTEGER)"};
const QString StaleRow = "INSERT INTO devices VALUES ('old', '1', '1', 'of an earlier scan', '1')";
// Every progress figure written, in order, for the test to read afterwards.
const QStringList ProgressHistory {"CREATE TABLE history (value INTEGER)",
    "CREATE TRIGGER keep AFTER INSERT ON progress BEGIN INSERT INTO history VALUES (NEW.value); "
    "END"};

QString openLine(const QString &port, const QString &baudRate)
{
    return "Open port: " + port + " Baudrate: " + baudRate + " Connected\r\n";
}

QString attempt(int version, bool passed)
{
    return "   Attempting to read identification in the version: " + QString::number(version)
        + (passed ? " PASSED\r\n" : " FAILED\r\n");
}

QString identified(int version, const QString &text)
{
    return "Identification[ version " + QString::number(version) + " ]: " + text + "\r\n";
}

QString databaseLine(const QString &port, int address, int baudRate, const QString &id,
    const QString &sn = QString())
{
    QString line = QString("%1").arg(port, -30) + QString("addr: %1").arg(address, -4)
        + QString("baundrate: %1").arg(baudRate, -9);
    if (id.isEmpty())
        return line + "id: -     \r\n";
    return line + QString("id: %1").arg(id, -16) + QString("sn: %1").arg(sn, -6) + "\r\n";
}

QString identificationRequest(int address)
{
    return WireFrame::rtu(QString::asprintf("%02X 11", address));
}

QString serialNumberRequest(int address)
{
    return WireFrame::rtu(WireFrame::readMacroRequest(quint8(address), 226, 1, {}));
}

QStringList times(int count, const QString &frame)
{
    QStringList frames;
    for (int i = 0; i < count; ++i)
        frames.append(frame);
    return frames;
}

// A connection of the test's own to a database file, as the program that
// watches the scan has one. Each object has its own connection name.
class Database
{
public:
    explicit Database(const QString &file, const QString &options = QString())
        : name(QString("test-%1").arg(++count))
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", name);
        database.setDatabaseName(file);
        database.setConnectOptions(options);
        database.open();
    }
    ~Database()
    {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    QSqlDatabase connection() const { return QSqlDatabase::database(name, false); }

    bool execute(const QStringList &statements)
    {
        for (const QString &statement : statements) {
            QSqlQuery query(connection());
            if (!query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                return false;
            }
        }
        return true;
    }
    // Rows of devices in insertion order, "port|address|baudrate|identification|sn".
    QStringList devices() const
    {
        QStringList rows;
        QSqlQuery query(connection());
        if (!query.exec("SELECT port, address, baudrate, identification, sn FROM devices "
                        "ORDER BY rowid;"))
            return {"error: " + query.lastError().text()};
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < 5; ++i)
                fields.append(query.value(i).toString());
            rows.append(fields.join('|'));
        }
        return rows;
    }
    QStringList history() const
    {
        QStringList values;
        QSqlQuery query(connection());
        if (!query.exec("SELECT value FROM history ORDER BY rowid;"))
            return {"error: " + query.lastError().text()};
        while (query.next())
            values.append(query.value(0).toString());
        return values;
    }
    // The progress rows, "key=value".
    QStringList progress() const
    {
        QStringList rows;
        QSqlQuery query(connection());
        if (!query.exec("SELECT key, value FROM progress;"))
            return {"error: " + query.lastError().text()};
        while (query.next())
            rows.append(query.value(0).toString() + "=" + query.value(1).toString());
        return rows;
    }

private:
    static int count;
    QString name;
};

int Database::count = 0;

// The names in a folder, sorted, as the bytes they are.
QList<QByteArray> entryNames(const QByteArray &folder)
{
    QList<QByteArray> names;
    DIR *directory = opendir(folder.constData());
    if (!directory)
        return names;
    while (const dirent *entry = readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

// The output of a database scan between "Scanning ..." and its last line as
// one text per port: the lines of each of its probes, in the order printed.
QMap<QString, QString> linesByPort(const QString &output, const QStringList &ports)
{
    QMap<QString, QString> byPort;
    const int start = output.indexOf("Scanning ...\r\n");
    if (start < 0)
        return byPort;
    QStringList lines = output.mid(start).split("\r\n");
    lines.removeFirst();
    QString block;
    for (const QString &line : qAsConst(lines)) {
        block += line + "\r\n";
        if (!line.contains("addr: "))
            continue;
        for (const QString &port : ports) {
            if (line.startsWith(port + " "))
                byPort[port] += block;
        }
        block.clear();
    }
    return byPort;
}

QString row(const QString &port, int address, int baudRate, const QString &id, const QString &sn)
{
    return QStringList {port, QString::number(address), QString::number(baudRate), id, sn}.join(
        '|');
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class TestDrvScan : public QObject
{
    Q_OBJECT

private slots:
    void usage_data();
    void usage();
    void portScan_data();
    void portScan();
    void debugTrace_data();
    void debugTrace();
    void namesThatMatchNoPort();
    void databaseScan();
    void databaseWithoutPorts();
    void unusableDatabase_data();
    void unusableDatabase();
    void sameDevicesWithNewOptions_data();
    void sameDevicesWithNewOptions();
    void parallelWithAPortGivenTwice();
    void namesAsGiven();
    void stopLeavesAConsistentDatabase_data();
    void stopLeavesAConsistentDatabase();
    void timeoutValues_data();
    void timeoutValues();
    void failedStatementIsReported();
    void readerHoldingALockDoesNotFailTheScan();
    void lockHeldTooLongFailsTheStatementOnly();
    void gatewayScan_data();
    void gatewayScan();

private:
    QTemporaryDir folder;
    TestCertificates certificates;
};

void TestDrvScan::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("--help") << QStringList {"--help"};
    QTest::newRow("--help with other options")
        << QStringList {"--port", "/dev/qel-none", "--help", "--db", "/nonexistent/x.db"};
    QTest::newRow("nothing recognised") << QStringList {"-port", "COM1", "-Port", "dbx"};
}

void TestDrvScan::usage()
{
    QFETCH(QStringList, arguments);
    const ProgramResult result = runProgram(programPath("qelDrvScan"), arguments);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.out,
        QByteArray("\r\n"
                   "qelDrvScan.exe --address 1 --port \\\\.\\COM1 --baudrate 9600 --baudrate "
                   "115200 --version 1 --version 3\r\n"
                   "\r\n"
                   " --address          Device address\r\n"
                   " --baudrate         Baudrate\r\n"
                   " --port             Serial port name\r\n"
                   " --version          Id version 1,2,3,4\r\n"
                   " --names            Ports names\r\n"
                   " --debug            Debug mode\r\n"
                   " --help             Help\r\n"
                   " --db               Data base - sqlite\r\n"
                   " --timeout          Response time-out in ms (10 to 10000)\r\n"
                   " --parallel         Scan the ports at the same time (with --db)\r\n"
                   " --ip               IP address: the addresses behind it\r\n"
                   " --framing          Framing RTU, ASCII (with --ip: gateway)\r\n"
                   " --tls              Modbus/TCP Security (TLS), port 802\r\n"
                   " --cert             TLS client certificate (PEM)\r\n"
                   " --key              TLS client private key (PEM)\r\n"
                   " --ca               TLS certificate authorities (PEM)\r\n"
                   "\r\n"));
}

void TestDrvScan::portScan_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QStringList>("arguments"); // PTY stands for the simulator's line
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("requests");

    const QString pty = "PTY";
    QTest::newRow("only version 3: two FAILED, one PASSED, the identification")
        << QStringList {"--device", "1,version=3,id=RB4 feeder 12"} << QStringList {"--port", pty}
        << openLine(pty, "115200") + attempt(1, false) + attempt(2, false) + attempt(3, true)
            + identified(3, "RB4 feeder 12")
        << times(3, identificationRequest(1));
    QTest::newRow("baud rates in ascending order")
        << QStringList {"--device", "1,version=1,id=Bay"}
        << QStringList {"--port", pty, "--baudrate", "115200", "--baudrate", "9600", "--version",
               "1"}
        << openLine(pty, "9600") + attempt(1, true) + identified(1, "Bay") + openLine(pty, "115200")
            + attempt(1, true) + identified(1, "Bay")
        << times(2, identificationRequest(1));
    QTest::newRow("only the first address")
        << QStringList {"--device", "5,version=1,id=Five", "--device", "7,version=1,id=Seven"}
        << QStringList {"--port", pty, "--address", "5", "--address", "7", "--version", "1"}
        << openLine(pty, "115200") + attempt(1, true) + identified(1, "Five")
        << QStringList {identificationRequest(5)};
    QTest::newRow("--version 3 tries version 3 only")
        << QStringList {"--device", "2,version=3,id=Three"}
        << QStringList {"--port", pty, "--version", "3", "--address", "2"}
        << openLine(pty, "115200") + attempt(3, true) + identified(3, "Three")
        << QStringList {identificationRequest(2)};
    QTest::newRow("versions in the order given")
        << QStringList {"--device", "1,version=2,id=Two"}
        << QStringList {"--port", pty, "--version", "4", "--version", "1", "--version", "2"}
        << openLine(pty, "115200") + attempt(4, false) + attempt(1, false) + attempt(2, true)
            + identified(2, "Two")
        << times(3, identificationRequest(1));
    QTest::newRow("no device at the address: a time-out ends the wait")
        << QStringList {"--device", "1,version=1"}
        << QStringList {"--port", pty, "--address", "9", "--version", "1"}
        << openLine(pty, "115200") + attempt(1, false) << QStringList {identificationRequest(9)};
    QTest::newRow("a port that cannot be opened prints nothing")
        << QStringList {"--device", "1,version=1,id=Here"}
        << QStringList {"--port", "/dev/qel-none", "--port", pty, "--version", "1"}
        << openLine(pty, "115200") + attempt(1, true) + identified(1, "Here")
        << QStringList {identificationRequest(1)};
    QTest::newRow("baud rate that is not a number")
        << QStringList {"--device", "1,version=1"} << QStringList {"--port", pty, "--baudrate", "x"}
        << "" << QStringList();
    QTest::newRow("--debug 2 leaves the trace off")
        << QStringList {"--device", "1,version=1,id=Quiet"}
        << QStringList {"--port", pty, "--version", "1", "--debug", "2"}
        << openLine(pty, "115200") + attempt(1, true) + identified(1, "Quiet")
        << QStringList {identificationRequest(1)};
    QTest::newRow("--names takes precedence over --port")
        << QStringList {"--device", "1,version=1"}
        << QStringList {"--port", pty, "--names", "qel-no-port-has-this"}
        << "Scanning ...\r\nDone\r\n"
        << QStringList();
}

void TestDrvScan::portScan()
{
    QFETCH(QStringList, devices);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QFETCH(QStringList, requests);

    DevSim sim(devices);
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    arguments.replaceInStrings("PTY", sim.ptyPath());
    expected.replace("PTY", sim.ptyPath());

    const ProgramResult result = runProgram(programPath("qelDrvScan"), arguments);
    QVERIFY(result.finished);
    QVERIFY(!result.crashed);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromUtf8(result.out), expected);
    QCOMPARE(sim.requestLog(), requests);
}

void TestDrvScan::debugTrace_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("trace");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("2") << "2" << false;
    QTest::newRow("0x1") << "0x1" << false;
}

void TestDrvScan::debugTrace()
{
    QFETCH(QString, value);
    QFETCH(bool, trace);
    DevSim sim({"--device", "1,version=1,id=Traced"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const ProgramResult result = runProgram(
        programPath("qelDrvScan"), {"--port", sim.ptyPath(), "--version", "1", "--debug", value});
    QCOMPARE(result.exitCode, 0);
    const QString out = QString::fromUtf8(result.out);
    QCOMPARE(out.contains("Opening " + sim.ptyPath() + " at 115200 bauds (N, 8, 1)"), trace);
    QCOMPARE(out.contains("[01][11][C0][2C]"), trace);
    QVERIFY(out.endsWith(identified(1, "Traced")));
}

void TestDrvScan::namesThatMatchNoPort()
{
    DevSim sim({"--device", "1,version=1"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const ProgramResult result = runProgram(
        programPath("qelDrvScan"), {"--names", "qel-no-port-has-this", "--names", "nor-this"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Scanning ...\r\nDone\r\n"));
    QCOMPARE(result.err, QByteArray());
}

void TestDrvScan::databaseScan()
{
    // Address 3 answers the identification but not the serial number, 2 has
    // no device; the database keeps the order given for baud rates and
    // addresses. The identification with quotes is stored as it is.
    DevSim sim({"--device", "1,version=1,sn=111,id=Feeder 'A'", "--device",
        "3,version=1,sn=exception,id=Bay 3"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QString pty = sim.ptyPath();
    const QString file = folder.filePath("scan.db");
    Database watcher(file, "QSQLITE_BUSY_TIMEOUT=1000");
    QVERIFY(watcher.execute(Tables + ProgressHistory
        + QStringList {StaleRow, "INSERT INTO progress VALUES ('progress', 100)"}));
    QVERIFY(watcher.execute({"DELETE FROM history"}));

    ScannerRun scanner({"--db", file, "--port", pty, "--address", "3", "--address", "2",
        "--address", "1", "--baudrate", "115200", "--baudrate", "9600", "--version", "1"});
    QVERIFY(scanner.started());

    struct Step
    {
        int address;
        int baudRate;
        QString row; // empty when nothing is found
    };
    const QList<Step> steps {
        {3, 115200, row(pty, 3, 115200, "Bay 3", "?")},
        {2, 115200, QString()},
        {1, 115200, row(pty, 1, 115200, "Feeder 'A'", "111")},
        {3, 9600, row(pty, 3, 9600, "Bay 3", "?")},
        {2, 9600, QString()},
        {1, 9600, row(pty, 1, 9600, "Feeder 'A'", "111")},
    };
    QStringList rows;
    for (const Step &step : steps) {
        if (!step.row.isEmpty())
            rows.append(step.row);
    }
    // The watcher reads while the scan goes on. Each line is printed after
    // the row of its step is written and before the progress of its step,
    // so the watcher sees at least the rows so far and at least the progress
    // of the step before.
    int found = 0;
    for (int i = 0; i < steps.size(); ++i) {
        QVERIFY2(scanner.waitForLines("addr: ", i + 1), qPrintable(scanner.output()));
        if (!steps.at(i).row.isEmpty())
            ++found;
        const QStringList seen = watcher.devices();
        QVERIFY2(
            seen.size() >= found && seen == rows.mid(0, seen.size()), qPrintable(seen.join(", ")));
        const QStringList progress = watcher.progress();
        QCOMPARE(progress.size(), 1);
        const int figure = progress.first().section('=', 1).toInt();
        QVERIFY2(figure >= (i == 0 ? 10 : i * 100 / steps.size()), qPrintable(progress.first()));
    }
    QVERIFY(scanner.finish());
    QCOMPARE(scanner.exitCode(), 0);
    QCOMPARE(scanner.errorOutput(), QString());
    QCOMPARE(watcher.devices(), rows);
    QCOMPARE(watcher.progress(), QStringList {"progress=100"});
    QCOMPARE(watcher.history(), (QStringList {"10", "16", "33", "50", "66", "83", "100"}));

    // The given ports are first scanned with the first address alone and the
    // baud rates in ascending order.
    QString expected = openLine(pty, "9600") + attempt(1, true) + identified(1, "Bay 3")
        + openLine(pty, "115200") + attempt(1, true) + identified(1, "Bay 3") + "Scanning ...\r\n";
    QStringList requests = times(2, identificationRequest(3));
    for (const Step &step : steps) {
        const QString rate = QString::number(step.baudRate);
        expected += openLine(pty, rate);
        requests.append(identificationRequest(step.address));
        if (step.address == 2) {
            expected += attempt(1, false) + databaseLine(pty, 2, step.baudRate, QString());
        } else if (step.address == 3) {
            expected += attempt(1, true) + identified(1, "Bay 3")
                + databaseLine(pty, 3, step.baudRate, "Bay 3", "-1");
            requests += times(10, serialNumberRequest(3));
        } else {
            expected += attempt(1, true) + identified(1, "Feeder 'A'")
                + databaseLine(pty, 1, step.baudRate, "Feeder 'A'", "111");
            requests.append(serialNumberRequest(1));
        }
    }
    expected += "Done\r\n";
    QCOMPARE(scanner.output(), expected);
    QCOMPARE(sim.requestLog(), requests);
}

void TestDrvScan::databaseWithoutPorts()
{
    // No port of the machine matches: nothing is probed, the progress stays
    // at 10 and the devices of an earlier scan are gone.
    const QString file = folder.filePath("noports.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables + ProgressHistory + QStringList {StaleRow}));
    const ProgramResult result
        = runProgram(programPath("qelDrvScan"), {"--db", file, "--names", "qel-no-port-has-this"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Scanning ...\r\nDone\r\n"));
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(watcher.devices(), QStringList());
    QCOMPARE(watcher.progress(), QStringList {"progress=10"});
    QCOMPARE(watcher.history(), QStringList {"10"});
}

void TestDrvScan::unusableDatabase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("statements"); // empty: no database made
    QTest::addColumn<QByteArray>("content"); // written when there are no statements
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << "missing.db" << QStringList() << QByteArray()
                                  << "does not exist";
    QTest::newRow("missing folder")
        << "no-folder/scan.db" << QStringList() << QByteArray() << "does not exist";
    QTest::newRow("a folder") << "." << QStringList() << QByteArray() << "not a file";
    QTest::newRow("not a database")
        << "text.db" << QStringList() << QByteArray("port;address\nCOM1;1\n") << "cannot be read";
    QTest::newRow("empty file") << "empty.db" << QStringList() << QByteArray("")
                                << "no table devices";
    QTest::newRow("no devices table")
        << "nodevices.db" << QStringList {Tables.at(1)} << QByteArray() << "no table devices";
    QTest::newRow("no progress table")
        << "noprogress.db" << QStringList {Tables.at(0)} << QByteArray() << "no table progress";
    QTest::newRow("devices without sn")
        << "nosn.db"
        << QStringList {"CREATE TABLE devices (port, address, baudrate, identification)",
               Tables.at(1)}
        << QByteArray() << "no column sn in the table devices";
    QTest::newRow("name with URI characters")
        << "odd ?name#%20.db" << QStringList() << QByteArray() << "does not exist";
}

void TestDrvScan::unusableDatabase()
{
    QFETCH(QString, name);
    QFETCH(QStringList, statements);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);

    QTemporaryDir here;
    const QString file = here.filePath(name);
    if (!statements.isEmpty()) {
        Database maker(file);
        QVERIFY(maker.execute(statements));
    } else if (!content.isNull()) {
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(content);
    }
    const bool existed = QFileInfo::exists(file);
    const QByteArray before = QFileInfo(file).isFile() ? fileContent(file) : QByteArray();

    DevSim sim({"--device", "1,version=1"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const ProgramResult result
        = runProgram(programPath("qelDrvScan"), {"--db", file, "--port", sim.ptyPath()});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    const QString error = QString::fromUtf8(result.err);
    QVERIFY2(error.startsWith("Database " + file + ": "), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(error.endsWith("\n"));
    // Nothing was probed and the file is as it was, or still missing.
    QCOMPARE(sim.requestLog(), QStringList());
    QCOMPARE(QFileInfo::exists(file), existed);
    if (QFileInfo(file).isFile())
        QCOMPARE(fileContent(file), before);
}

void TestDrvScan::failedStatementIsReported()
{
    // The watching program's table refuses the row of address 1: the
    // failure is reported, the other rows and the progress are still
    // written, and the run ends with status -1.
    DevSim sim({"--device", "1,version=1,sn=10,id=One", "--device", "3,version=1,sn=30,id=Three"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QString file = folder.filePath("refusing.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables
        + QStringList {"CREATE TRIGGER refuse BEFORE INSERT ON devices WHEN NEW.address = '1' "
                       "BEGIN SELECT RAISE(ABORT, 'refused by the watcher'); END"}));

    const ProgramResult result = runProgram(programPath("qelDrvScan"),
        {"--db", file, "--port", sim.ptyPath(), "--address", "1", "--address", "3", "--version",
            "1"});
    QCOMPARE(result.exitCode, ExitFailure);
    const QString error = QString::fromUtf8(result.err);
    QVERIFY2(
        error.startsWith("Database " + file + ": device not recorded " + sim.ptyPath() + " 1 ("),
        qPrintable(error));
    QVERIFY2(error.contains("refused by the watcher"), qPrintable(error));
    QCOMPARE(error.count('\n'), 1);
    const QString out = QString::fromUtf8(result.out);
    QVERIFY(out.contains(databaseLine(sim.ptyPath(), 1, 115200, "One", "10")));
    QVERIFY(out.endsWith(databaseLine(sim.ptyPath(), 3, 115200, "Three", "30") + "Done\r\n"));
    QCOMPARE(watcher.devices(), QStringList {row(sim.ptyPath(), 3, 115200, "Three", "30")});
    QCOMPARE(watcher.progress(), QStringList {"progress=100"});
}

void TestDrvScan::readerHoldingALockDoesNotFailTheScan()
{
    // The watcher holds a read transaction when the scan starts writing: the
    // scanner waits for it instead of failing its statements.
    DevSim sim({"--device", "1,version=1,sn=5,id=Locked"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QString file = folder.filePath("locked.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables + QStringList {StaleRow}));

    QVERIFY(watcher.connection().transaction());
    QCOMPARE(watcher.devices().size(), 1); // the read takes the shared lock
    ScannerRun scanner({"--db", file, "--port", sim.ptyPath(), "--version", "1"});
    QVERIFY(scanner.started());
    QVERIFY2(scanner.waitForLines("Scanning ...", 1), qPrintable(scanner.output()));
    // The scanner's first statement is now waiting for the lock.
    QTest::qWait(300);
    QCOMPARE(watcher.devices().size(), 1);
    QVERIFY(watcher.connection().commit());

    QVERIFY(scanner.finish());
    QCOMPARE(scanner.errorOutput(), QString());
    QCOMPARE(scanner.exitCode(), 0);
    QCOMPARE(watcher.devices(), QStringList {row(sim.ptyPath(), 1, 115200, "Locked", "5")});
    QCOMPARE(watcher.progress(), QStringList {"progress=100"});
}

void TestDrvScan::lockHeldTooLongFailsTheStatementOnly()
{
    // A watcher that keeps its read transaction open: the scanner's first
    // statement gives up after its busy time-out, says so, and the scan goes
    // on once the lock is free again.
    DevSim sim({"--device", "1,version=1,sn=6,id=Late"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QString file = folder.filePath("heldlock.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables + ProgressHistory + QStringList {StaleRow}));

    QVERIFY(watcher.connection().transaction());
    QCOMPARE(watcher.devices().size(), 1);
    ScannerRun scanner({"--db", file, "--port", sim.ptyPath(), "--version", "1"});
    QVERIFY(scanner.started());
    // A time-out ends the scanner's wait for the lock.
    QVERIFY2(scanner.waitForError("Database " + file + ": progress not written ("),
        qPrintable(scanner.errorOutput()));
    QVERIFY(watcher.connection().commit());

    QVERIFY(scanner.finish());
    QCOMPARE(scanner.exitCode(), ExitFailure);
    const QStringList errors = scanner.errorOutput().split('\n', Qt::SkipEmptyParts);
    for (const QString &error : errors)
        QVERIFY2(error.startsWith("Database " + file + ": "), qPrintable(error));
    QVERIFY(scanner.output().endsWith(
        databaseLine(sim.ptyPath(), 1, 115200, "Late", "6") + "Done\r\n"));
    QCOMPARE(watcher.devices().last(), row(sim.ptyPath(), 1, 115200, "Late", "6"));
    QCOMPARE(watcher.history(), QStringList {"100"});
}

void TestDrvScan::sameDevicesWithNewOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("portByPort");
    QTest::newRow("none") << QStringList() << true;
    QTest::newRow("--timeout 50") << QStringList {"--timeout", "50"} << true;
    QTest::newRow("--timeout 50 --parallel")
        << QStringList {"--timeout", "50", "--parallel"} << false;
}

// Devices at known addresses on two lines: the same lines for every port in
// the same order, the same rows, the same progress figures and the same
// requests on each line, whatever the new options.
void TestDrvScan::sameDevicesWithNewOptions()
{
    QFETCH(QStringList, options);
    QFETCH(bool, portByPort);

    DevSim first({"--device", "2,version=3,sn=22,id=First two", "--device",
        "4,version=3,sn=exception,id=First four"});
    DevSim second({"--device", "3,version=3,sn=33,id=Second three"});
    QVERIFY2(first.startRtu(), qPrintable(first.startError()));
    QVERIFY2(second.startRtu(), qPrintable(second.startError()));
    const QString a = first.ptyPath();
    const QString b = second.ptyPath();
    QTemporaryDir here;
    const QString file = here.filePath("same.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables + ProgressHistory + QStringList {StaleRow}));

    ScannerRun scanner(QStringList {"--db", file, "--port", a, "--port", b, "--address", "2",
                           "--address", "3", "--address", "4", "--version", "3"}
        + options);
    QVERIFY(scanner.finish());
    QCOMPARE(scanner.exitCode(), 0);
    QCOMPARE(scanner.errorOutput(), QString());

    const QString foundFirst2 = openLine(a, "115200") + attempt(3, true)
        + identified(3, "First two") + databaseLine(a, 2, 115200, "First two", "22");
    const QString expectedFirst = foundFirst2 + openLine(a, "115200") + attempt(3, false)
        + databaseLine(a, 3, 115200, QString()) + openLine(a, "115200") + attempt(3, true)
        + identified(3, "First four") + databaseLine(a, 4, 115200, "First four", "-1");
    const QString expectedSecond = openLine(b, "115200") + attempt(3, false)
        + databaseLine(b, 2, 115200, QString()) + openLine(b, "115200") + attempt(3, true)
        + identified(3, "Second three") + databaseLine(b, 3, 115200, "Second three", "33")
        + openLine(b, "115200") + attempt(3, false) + databaseLine(b, 4, 115200, QString());
    const QString output = scanner.output();
    const QMap<QString, QString> byPort = linesByPort(output, {a, b});
    QCOMPARE(byPort.value(a), expectedFirst);
    QCOMPARE(byPort.value(b), expectedSecond);
    QVERIFY2(output.endsWith("Done\r\n"), qPrintable(output));
    if (portByPort)
        QVERIFY(output.endsWith("Scanning ...\r\n" + expectedFirst + expectedSecond + "Done\r\n"));

    QStringList rows = watcher.devices();
    rows.sort();
    QStringList expectedRows {row(a, 2, 115200, "First two", "22"),
        row(a, 4, 115200, "First four", "?"), row(b, 3, 115200, "Second three", "33")};
    expectedRows.sort();
    QCOMPARE(rows, expectedRows);
    QCOMPARE(watcher.history(), (QStringList {"10", "16", "33", "50", "66", "83", "100"}));
    const QStringList firstRequests
        = QStringList {identificationRequest(2), identificationRequest(2), serialNumberRequest(2),
              identificationRequest(3), identificationRequest(4)}
        + times(10, serialNumberRequest(4));
    QCOMPARE(first.requestLog(), firstRequests);
    QCOMPARE(second.requestLog(),
        (QStringList {identificationRequest(2), identificationRequest(2), identificationRequest(3),
            serialNumberRequest(3), identificationRequest(4)}));
}

void TestDrvScan::parallelWithAPortGivenTwice()
{
    // Scanned twice, as without --parallel, and never by two workers at once
    // (the second could not open the line and would miss the devices).
    DevSim sim({"--device", "1,version=3,sn=10,id=One", "--device", "2,version=3,sn=20,id=Two"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QString pty = sim.ptyPath();
    QTemporaryDir here;
    const QString file = here.filePath("twice.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables));

    const ProgramResult result = runProgram(programPath("qelDrvScan"),
        {"--db", file, "--port", pty, "--port", pty, "--address", "1", "--address", "2",
            "--version", "3", "--timeout", "50", "--parallel"});
    QCOMPARE(result.exitCode, 0);
    const QString once = row(pty, 1, 115200, "One", "10") + "," + row(pty, 2, 115200, "Two", "20");
    QCOMPARE(watcher.devices().join(','), once + "," + once);
    QCOMPARE(QString::fromUtf8(result.out).count("id: -"), 0);
}

void TestDrvScan::namesAsGiven()
{
    // A database and a port (a link to the simulator's line) whose names are
    // not UTF-8 are opened by exactly those bytes: the device is recorded in
    // that file and nothing else appears beside it.
    FileNames::keepBytesAsGiven(); // the arguments leave as the bytes given
    DevSim sim({"--device", "1,version=3,sn=5,id=Raw"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    QTemporaryDir here;
    const QByteArray folderBytes = QFile::encodeName(here.path());
    const QByteArray plainDb = folderBytes + "/plain.db";
    const QByteArray rawDb = folderBytes + "/scan-\xb3\xff.db";
    const QByteArray rawPort = folderBytes + "/line-\xe9";
    {
        Database maker(QString::fromUtf8(plainDb));
        QVERIFY(maker.execute(Tables));
    }
    QCOMPARE(::rename(plainDb.constData(), rawDb.constData()), 0);
    QCOMPARE(::symlink(QFile::encodeName(sim.ptyPath()).constData(), rawPort.constData()), 0);

    const ProgramResult result = runProgram(programPath("qelDrvScan"),
        {"--db", FileNames::fromBytes(rawDb), "--port", FileNames::fromBytes(rawPort), "--version",
            "3", "--timeout", "50"});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains(rawPort + "addr: 1"), result.out.constData());
    QCOMPARE(entryNames(folderBytes), (QList<QByteArray> {"line-\xe9", "scan-\xb3\xff.db"}));
    // Back to names that the folder's removal can take.
    QCOMPARE(::rename(rawDb.constData(), plainDb.constData()), 0);
    QCOMPARE(::unlink(rawPort.constData()), 0);
    Database watcher(QString::fromUtf8(plainDb));
    const QStringList rows = watcher.devices();
    QCOMPARE(rows.size(), 1);
    QVERIFY2(rows.first().endsWith("|1|115200|Raw|5"), qPrintable(rows.first()));
}

void TestDrvScan::stopLeavesAConsistentDatabase_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("ports");
    QTest::addColumn<bool>("database");
    QTest::addColumn<QStringList>("options");
    const QStringList timed {"--timeout", "10000", "--parallel"};
    QTest::newRow("SIGINT") << int(SIGINT) << 1 << true << timed;
    QTest::newRow("SIGTERM") << int(SIGTERM) << 1 << true << timed;
    QTest::newRow("SIGINT, two ports in parallel") << int(SIGINT) << 2 << true << timed;
    QTest::newRow("SIGTERM, without database") << int(SIGTERM) << 1 << false << timed;
    QTest::newRow("SIGINT, no new options") << int(SIGINT) << 1 << true << QStringList();
}

// A device at address 1 on every line, none at 2 to 6, and mostly a probe
// time-out of 10 s: the signal comes while the probes of address 2 wait (without
// database: the probe of address 2 at the first baud rate). They end at
// once, nothing more is sent or written, the run prints "Stopped" and ends
// with -1, and the database holds what the printed lines say.
void TestDrvScan::stopLeavesAConsistentDatabase()
{
    QFETCH(int, signalNumber);
    QFETCH(int, ports);
    QFETCH(bool, database);
    QFETCH(QStringList, options);

    std::vector<std::unique_ptr<DevSim>> sims;
    QStringList arguments = QStringList {"--version", "3"} + options;
    for (int i = 0; i < ports; ++i) {
        sims.push_back(std::make_unique<DevSim>(
            QStringList {"--device", QString("1,version=3,sn=%1,id=Line %1").arg(i)}));
        QVERIFY2(sims.back()->startRtu(), qPrintable(sims.back()->startError()));
        arguments += {"--port", sims.back()->ptyPath()};
    }
    // Without database only the first address is probed, at each baud rate.
    if (!database)
        arguments += {"--address", "2", "--baudrate", "9600", "--baudrate", "115200"};
    for (int address = 1; address <= 6; ++address)
        arguments += {"--address", QString::number(address)};
    QTemporaryDir here;
    const QString file = here.filePath("stopped.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables + ProgressHistory + QStringList {StaleRow}));
    if (database)
        arguments += {"--db", file};

    ScannerRun scanner(arguments);
    QVERIFY(scanner.started());
    // The pre-scan (or the port scan) of address 1, then in the database
    // scan the rows of address 1 on every line.
    const QString waitFor = database ? QString("addr: 1 ") : QString("Connected");
    QVERIFY2(scanner.waitForLines(waitFor, database ? ports : 1), qPrintable(scanner.output()));
    scanner.signal(signalNumber);
    // Far less than one more probe of 10 s.
    QVERIFY2(scanner.finish(8000), qPrintable(scanner.output()));
    QCOMPARE(scanner.exitCode(), ExitFailure);
    QCOMPARE(scanner.errorOutput(), QString());
    const QString output = scanner.output();
    QVERIFY2(output.endsWith("Stopped\r\n"), qPrintable(output));
    QVERIFY(!output.contains("Done"));

    // The probe of address 2 may have sent its request before the signal.
    const QStringList before = database
        ? QStringList {identificationRequest(1), identificationRequest(1), serialNumberRequest(1)}
        : QStringList();
    for (int i = 0; i < ports; ++i) {
        const QStringList requests = sims.at(size_t(i))->requestLog();
        QVERIFY2(requests == before || requests == before + QStringList {identificationRequest(2)},
            qPrintable(requests.join(", ")));
    }
    if (!database)
        QCOMPARE(
            output, openLine(sims.front()->ptyPath(), "9600") + attempt(3, false) + "Stopped\r\n");
    QCOMPARE(QFileInfo::exists(file + "-journal"), false);
    QVERIFY(watcher.execute({"BEGIN IMMEDIATE", "COMMIT"}));
    if (!database) {
        QCOMPARE(watcher.devices().size(), 1); // untouched
        return;
    }
    QStringList rows;
    for (int i = 0; i < ports; ++i)
        rows.append(row(sims.at(size_t(i))->ptyPath(), 1, 115200, QString("Line %1").arg(i),
            QString::number(i)));
    rows.sort();
    QStringList seen = watcher.devices();
    seen.sort();
    QCOMPARE(seen, rows);
    QCOMPARE(output.count("addr: "), ports);
    QStringList history {"10"};
    for (int done = 1; done <= ports; ++done)
        history.append(QString::number(done * 100 / (ports * 6)));
    QCOMPARE(watcher.history(), history);
    QCOMPARE(watcher.progress(), QStringList {"progress=" + history.last()});
}

void TestDrvScan::timeoutValues_data()
{
    QTest::addColumn<QStringList>("tail"); // the last arguments
    QTest::addColumn<QString>("refused"); // the value named in the error, null when accepted

    QTest::newRow("9") << QStringList {"--timeout", "9"} << "9";
    QTest::newRow("10001") << QStringList {"--timeout", "10001"} << "10001";
    QTest::newRow("not a number") << QStringList {"--timeout", "fast"} << "fast";
    QTest::newRow("fraction") << QStringList {"--timeout", "50.5"} << "50.5";
    QTest::newRow("negative") << QStringList {"--timeout", "-50"} << "-50";
    QTest::newRow("0x5") << QStringList {"--timeout", "0x5"} << "0x5";
    QTest::newRow("no value") << QStringList {"--timeout"} << "";
    QTest::newRow("10") << QStringList {"--timeout", "10"} << QString();
    QTest::newRow("0x2710") << QStringList {"--timeout", "0x2710"} << QString();
    QTest::newRow("first value counts")
        << QStringList {"--timeout", "10000", "--timeout", "0"} << QString();
}

// Out of range: the driver's "Invalid parameters" form, status -1, nothing
// sent and the database untouched. In range: the scan runs.
void TestDrvScan::timeoutValues()
{
    QFETCH(QStringList, tail);
    QFETCH(QString, refused);

    DevSim sim({"--device", "1,version=3,sn=7,id=Timed"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    QTemporaryDir here;
    const QString file = here.filePath("timeout.db");
    Database watcher(file);
    QVERIFY(watcher.execute(Tables + QStringList {StaleRow}));

    const ProgramResult result = runProgram(programPath("qelDrvScan"),
        QStringList {"--db", file, "--port", sim.ptyPath(), "--version", "3"} + tail);
    QVERIFY(result.finished);
    if (refused.isNull()) {
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(watcher.devices(), QStringList {row(sim.ptyPath(), 1, 115200, "Timed", "7")});
        return;
    }
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(QString::fromUtf8(result.err),
        "Invalid parameters:\n " + refused + " is not a whole number from 10 to 10000\n");
    QCOMPARE(sim.requestLog(), QStringList());
    QCOMPARE(watcher.devices().size(), 1);
}

void TestDrvScan::gatewayScan_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("scanner");
    QTest::newRow("RTU through a gateway")
        << QStringList {"--framing", "RTU"} << QStringList {"--framing", "RTU"};
    QTest::newRow("ASCII through a gateway")
        << QStringList {"--framing", "ASCII"} << QStringList {"--framing", "ASCII"};
    QTest::newRow("MBAP inside TLS")
        << QStringList {"--tls", "server.pem", "server.key", "ca.pem"}
        << QStringList {"--tls", "--cert", "client.pem", "--key", "client.key", "--ca", "ca.pem"};
}

// Every address given is probed behind the gateway, in both modes; the
// devices found are recorded with their serial numbers, the baud rate 0.
void TestDrvScan::gatewayScan()
{
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, scanner);
    if (simulator.contains("--tls")) {
        QVERIFY2(certificates.make(), qPrintable(certificates.errorString()));
        for (QStringList *list : {&simulator, &scanner}) {
            for (QString &argument : *list) {
                if (argument.endsWith(".pem") || argument.endsWith(".key"))
                    argument = certificates.path(argument);
            }
        }
    }
    DevSim sim(simulator
        + QStringList {
            "--device", "3,version=1,sn=303,id=Bay 3", "--device", "7,version=2,id=Bay 7"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const QString gateway = "127.0.0.1:" + QString::number(sim.tcpPort());
    const QStringList common = QStringList {"--ip", "127.0.0.1", "--port",
                                   QString::number(sim.tcpPort()), "--timeout", "300"}
        + scanner + QStringList {"--address", "3", "--address", "5", "--address", "7"};
    const auto open = [&gateway](int address) {
        return "Open port: " + gateway + " Address: " + QString::number(address) + " Connected\r\n";
    };

    const ProgramResult plain = runProgram(programPath("qelDrvScan"), common);
    QCOMPARE(plain.exitCode, 0);
    QCOMPARE(QString(plain.out),
        open(3) + attempt(1, true) + identified(1, "Bay 3") + open(5) + attempt(1, false)
            + attempt(2, false) + attempt(3, false) + attempt(4, false) + open(7)
            + attempt(1, false) + attempt(2, true) + identified(2, "Bay 7"));

    const QString file = folder.filePath(QString("gateway-%1.db").arg(QTest::currentDataTag()));
    Database watcher(file);
    QVERIFY(watcher.execute(Tables));
    const ProgramResult recorded
        = runProgram(programPath("qelDrvScan"), common + QStringList {"--db", file});
    QCOMPARE(recorded.exitCode, 0);
    QCOMPARE(watcher.devices(),
        QStringList({row(gateway, 3, 0, "Bay 3", "303"), row(gateway, 7, 0, "Bay 7", "12345")}));
    QVERIFY2(
        recorded.out.endsWith(databaseLine(gateway, 7, 0, "Bay 7", "12345").toUtf8() + "Done\r\n"),
        recorded.out.constData());
}

QTEST_GUILESS_MAIN(TestDrvScan)
#include "tst_drvscan.moc"
