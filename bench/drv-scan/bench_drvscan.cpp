// Figures of a qelDrvScan database scan against the device simulator on
// pseudo-terminals, each holding devices at three addresses (version 3),
// measured side by side in one run, process start included:
//  - 247 addresses at one baud rate with "--timeout 50" on one line;
//  - the same on two lines with "--parallel", against the one line;
//  - the engine's default time-out over a few addresses, extrapolated to 247,
//    against the "--timeout 50" scan.
//
//   bench_drvscan [rounds] [addresses with the default time-out]   (default 3, 4)

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QStringList Devices {"--device", "17,version=3,sn=17,id=Feeder 17", "--device",
    "101,version=3,sn=101,id=Bay 101", "--device", "230,version=3,sn=230,id=Busbar 230"};
constexpr int DevicesPerLine = 3;

QString program(const QString &name)
{
    return QDir(QStringLiteral(QEL_BIN_DIR)).filePath(name);
}

// The simulator on a new pseudo-terminal; its first line names the device.
class Simulator
{
public:
    bool start()
    {
        process.start(program(QStringLiteral("qelDevSim")), QStringList {"--pty"} + Devices);
        if (!process.waitForStarted(10000))
            return false;
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(10000))
                return false;
        }
        pty = QString::fromUtf8(process.readLine()).trimmed();
        return !pty.isEmpty();
    }
    ~Simulator()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
    QString path() const { return pty; }

private:
    QProcess process;
    QString pty;
};

bool makeDatabase(const QString &file)
{
    bool made = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench");
        database.setDatabaseName(file);
        QSqlQuery query(database);
        made = database.open()
            && query.exec("CREATE TABLE devices (port TEXT, address TEXT, baudrate TEXT, "
                          "identification TEXT, sn TEXT)")
            && query.exec("CREATE TABLE progress (key TEXT PRIMARY KEY, value INTEGER)");
        database.close();
    }
    QSqlDatabase::removeDatabase("bench");
    return made;
}

struct Scan
{
    double seconds = -1;
    int found = 0; // devices rows printed
};

// One database scan of the lines over addresses 1 to count; -1 s when it
// did not end well.
Scan timedScan(
    const QString &database, const QStringList &lines, int count, const QStringList &options)
{
    QStringList arguments {"--db", database, "--version", "3"};
    for (const QString &line : lines)
        arguments += {"--port", line};
    for (int address = 1; address <= count; ++address)
        arguments += {"--address", QString::number(address)};
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program(QStringLiteral("qelDrvScan")), arguments + options);
    Scan scan;
    if (!process.waitForFinished(3600 * 1000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return scan;
    scan.seconds = double(timer.nsecsElapsed()) / 1e9;
    const QList<QByteArray> output = process.readAllStandardOutput().split('\n');
    for (const QByteArray &line : output) {
        if (line.contains("addr: ") && line.contains("sn: "))
            ++scan.found;
    }
    return scan;
}

void report(const char *what, const Scan &scan, int expectedFound)
{
    std::printf(
        "%-52s %8.2f s   devices %d of %d\n", what, scan.seconds, scan.found, expectedFound);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const int fewAddresses = argc > 2 ? std::max(1, atoi(argv[2])) : 4;

    QTemporaryDir folder;
    const QString database = folder.filePath(QStringLiteral("scan.db"));
    Simulator first;
    Simulator second;
    if (!folder.isValid() || !makeDatabase(database) || !first.start() || !second.start()) {
        std::fprintf(stderr, "cannot set up the database or the simulators\n");
        return 1;
    }
    const QStringList fast {"--timeout", "50"};

    std::printf("qelDrvScan --db, version 3, devices at 17, 101 and 230 on each line; "
                "medians of %d rounds, the two sides alternating\n",
        rounds);
    std::vector<double> oneLine;
    std::vector<double> twoLines;
    for (int round = 0; round < rounds; ++round) {
        const Scan one = timedScan(database, {first.path()}, 247, fast);
        report("247 addresses, --timeout 50, one line", one, DevicesPerLine);
        const Scan two = timedScan(
            database, {first.path(), second.path()}, 247, fast + QStringList {"--parallel"});
        report("247 addresses, --timeout 50, two lines --parallel", two, 2 * DevicesPerLine);
        if (one.seconds <= 0 || two.seconds <= 0 || one.found != DevicesPerLine
            || two.found != 2 * DevicesPerLine) {
            std::fprintf(stderr, "a scan did not end well\n");
            return 1;
        }
        oneLine.push_back(one.seconds);
        twoLines.push_back(two.seconds);
    }
    const Scan slow = timedScan(database, {first.path()}, fewAddresses, {});
    const QByteArray slowLabel
        = QString("%1 addresses, default time-out, one line").arg(fewAddresses).toUtf8();
    report(slowLabel.constData(), slow, fewAddresses >= 17 ? 1 : 0);
    if (slow.seconds <= 0) {
        std::fprintf(stderr, "a scan did not end well\n");
        return 1;
    }
    // With --port the given line is first probed once at the first address,
    // so a scan of n addresses makes n + 1 probes.
    const double extrapolated = slow.seconds / (fewAddresses + 1) * (247 + 1);
    const double one = median(oneLine);
    const double two = median(twoLines);
    std::printf("\n");
    std::printf("%-52s %8.2f s  (target <= 20 s)\n", "one line, --timeout 50 (median)", one);
    std::printf("%-52s %8.2f s\n", "two lines, --timeout 50 --parallel (median)", two);
    std::printf("%-52s %8.2f s\n", "default time-out, extrapolated to 247 addresses", extrapolated);
    std::printf(
        "two lines --parallel / one line:                  %6.2f  (target <= 1.30)\n", two / one);
    std::printf("default time-out (extrapolated) / --timeout 50:   %6.1f\n", extrapolated / one);
    return 0;
}
