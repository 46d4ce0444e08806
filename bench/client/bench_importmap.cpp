// Imports a register map of 10,000 lines (CSV and xlsx) into an empty
// project, against opening a project file of the same 10,000 reads, and
// prints for each the time from the command to an idle window and the peak
// memory of the process, with the import's ratio to the open. The import is
// what File → Import register map… does once the file is chosen: reading
// the map, its preview, and the rows added as one step when Add is pressed
// (at once here). Each case
// runs in a process of its own, so that its peak is its own; the files are
// written first, by this process. Build with CMAKE_BUILD_TYPE=Release; run
// on a display or with QT_QPA_PLATFORM=offscreen.
//
//   bench_importmap [lines]      (default 10000)

#include "clientenvironment.h"
#include "idlewindow.h"
#include "mainwindow.h"
#include "mapcommands.h"
#include "projectdocument.h"
#include "projectfile.h"
#include "registermapfile.h"
#include "userprompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Targets: the import takes at most 1.5 times the open's time and at most
// 50 MiB more peak memory.
constexpr double MaxTimeRatio = 1.5;
constexpr double MaxExtraMib = 50;

QList<readValues> requests(int count)
{
    const QStringList types {"U16", "S16", "U32", "F32", "S64"};
    QList<readValues> reads;
    for (int i = 0; i < count; ++i) {
        readValues read;
        read.type = types.at(i % types.size());
        read.addr = QString::number(i * 4);
        read.desc = QStringLiteral("Measurement %1").arg(i);
        read.format = read.type == "U16" && i % 2 ? "F_X_X" : "";
        if (i % 3 == 0)
            read.scaling = {"0.01", "", "A"};
        reads << read;
    }
    return reads;
}

bool writeProject(const QString &path, const QList<readValues> &reads)
{
    QJsonArray array;
    for (const readValues &read : reads)
        array.append(read.toJson());
    const QJsonObject tcp {{"active", true}, {"addr", "1"}, {"desc", "bay"}, {"ip", "127.0.0.1"},
        {"port", "502"}, {"type", "TCP"}};
    const QJsonObject root {{"communications", QJsonArray {tcp}}, {"name", "bench"},
        {"read", array}, {"write", QJsonArray()}, {"macro", QJsonArray()}};
    QString error;
    return projectFile::save(path, root, &error);
}

// The user who chose the file presses Add in the preview at once.
class acceptingPrompts : public userPrompts
{
public:
    int exec(QDialog *) override { return QDialog::Accepted; }
};

// One case in this process: prints the seconds, the peak MiB and the reads
// the project holds then.
int measureOne(const QString &mode, const QString &path)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    acceptingPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.resize(1000, 700);
    window.show();
    waitForIdle();

    QElapsedTimer timer;
    timer.start();
    if (mode == QLatin1String("open")) {
        window.loadFile(path);
    } else {
        window.document()->setName(QStringLiteral("bench"));
        window.registerMaps()->importFrom(path);
    }
    waitForIdle();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%.3f %.1f %d\n", seconds, peakMib(),
        int(window.document()->lists().elements(projectLists::Reads).size()));
    return 0;
}

struct figures
{
    bool ok = false;
    double seconds = 0;
    double mib = 0;
};

figures measure(const QString &mode, const QString &path, int lines)
{
    QProcess one;
    one.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    one.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), mode, path});
    figures result;
    if (!one.waitForFinished(-1) || one.exitCode() != 0)
        return result;
    const QList<QByteArray> parts = one.readAllStandardOutput().trimmed().split(' ');
    result.ok = parts.size() == 3 && parts[2].toInt() == lines;
    result.seconds = parts.value(0).toDouble();
    result.mib = parts.value(1).toDouble();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--one") {
        setClientEnvironment();
        QApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("qel-bench"));
        QCoreApplication::setApplicationName(QStringLiteral("bench_importmap"));
        return measureOne(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }

    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    const QList<readValues> reads = requests(lines);
    QString error;
    const QString project = dir.filePath("project.json");
    const QString csv = dir.filePath("map.csv");
    const QString xlsx = dir.filePath("map.xlsx");
    if (!writeProject(project, reads) || !registerMapFile::write(csv, reads, {}, &error)
        || !registerMapFile::write(xlsx, reads, {}, &error)) {
        std::fprintf(stderr, "bench_importmap: cannot write the files: %s\n", qPrintable(error));
        return 1;
    }

    std::printf("%d reads to an idle window, each case in its own process\n", lines);
    const figures open = measure("open", project, lines);
    std::printf(
        "%-22s %10s %10s   %12s %14s\n", "case", "seconds", "peak MiB", "time ratio", "extra MiB");
    std::printf("%-22s %10.3f %10.1f\n", "open project file", open.seconds, open.mib);
    bool met = open.ok;
    for (const auto &[name, path] :
        {std::pair<const char *, QString> {"import CSV map", csv}, {"import xlsx map", xlsx}}) {
        const figures imported = measure("import", path, lines);
        if (!imported.ok || !open.ok) {
            std::printf("%-22s failed\n", name);
            met = false;
            continue;
        }
        const double ratio = imported.seconds / open.seconds;
        const double extra = imported.mib - open.mib;
        met = met && ratio <= MaxTimeRatio && extra <= MaxExtraMib;
        std::printf("%-22s %10.3f %10.1f   %12.2f %14.1f\n", name, imported.seconds, imported.mib,
            ratio, extra);
    }
    std::printf("target: time ratio <= %.1f, extra peak <= %.0f MiB: %s\n", MaxTimeRatio,
        MaxExtraMib, met ? "met" : "NOT met");
    return 0;
}
