// The client's memory during a long automatic refresh: a project of read
// rows against the simulator, refreshed at the fastest rate for the given
// minutes with the log window shown, the way an engineer leaves the client
// running. Prints the resident memory and the heap in use once a minute, and
// at the end the figures after 10 minutes (or a tenth of a shorter run)
// beside those at the end, their difference and ratio.
// Run on a display or with QT_QPA_PLATFORM=offscreen.
//
//   bench_refresh [minutes] [rows] [hidden]   (default 60 minutes, 100 rows;
//                                              "hidden": the log window stays hidden)

#include "clientenvironment.h"
#include "driverrunner.h"
#include "logholder.h"
#include "mainwindow.h"
#include "projectdocument.h"
#include "projectelement.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <malloc.h>

namespace {

QByteArray projectText(int rows, quint16 port)
{
    QJsonArray reads;
    for (int i = 0; i < rows; ++i)
        reads.append(QJsonObject {{"addr", QString::number(1000 + i)},
            {"desc", QStringLiteral("Value %1").arg(i)}, {"format", i % 2 ? "F_X_X" : ""},
            {"type", i % 3 ? "U16" : "S16"}});
    const QJsonObject tcp {{"active", true}, {"addr", "1"}, {"desc", "simulator"},
        {"ip", "127.0.0.1"}, {"port", QString::number(port)}, {"type", "TCP"}};
    const QJsonObject root {{"communications", QJsonArray {tcp}}, {"macro", QJsonArray()},
        {"name", "bench"}, {"read", reads}, {"write", QJsonArray()}};
    return QJsonDocument(root).toJson();
}

// Resident memory of this process in MiB.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Heap in use of this process in MiB.
double heapMiB()
{
    return double(mallinfo2().uordblks) / (1024 * 1024);
}

struct sample
{
    int minute;
    double resident;
    double heap;
    long long requests;
};

} // namespace

int main(int argc, char **argv)
{
    setClientEnvironment(); // as the client's own start
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("qel-bench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_refresh"));
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int rows = argc > 2 ? std::max(1, atoi(argv[2])) : 100;
    const bool logShown = !(argc > 3 && QByteArray(argv[3]) == "hidden");
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));

    // The drivers are found beside this program.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QProcess sim;
    sim.start(QDir(QCoreApplication::applicationDirPath()).filePath("qelDevSim"),
        {"--tcp", "127.0.0.1:0", "--no-macros", "--holding", "1000=1,2,3,4,5,6,7,8,9,10"});
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "bench_refresh: the simulator did not start\n");
        return 1;
    }
    const quint16 port = QString::fromLatin1(sim.readLine()).trimmed().section(':', 1).toUShort();
    const QString path = dir.filePath("refresh.json");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(projectText(rows, port)) < 0) {
        std::fprintf(stderr, "bench_refresh: cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();

    MainWindow window;
    window.show();
    window.loadFile(path);
    if (logShown)
        logInstance().showLog();
    QMetaObject::invokeMethod(&window, "commandRefresh", Qt::QueuedConnection, Q_ARG(bool, false));

    std::printf("Automatic refresh of %d read rows against the simulator, %d minutes, log "
                "window %s:\n",
        rows, minutes, logShown ? "shown" : "hidden");
    std::printf("%8s %14s %12s %10s\n", "minute", "resident MiB", "heap MiB", "requests");
    std::fflush(stdout);
    long long requests = 0;
    QObject::connect(window.runner(), &driverRunner::rowFinished, [&requests] { ++requests; });
    QList<sample> samples;
    QElapsedTimer clock;
    clock.start();
    QTimer minute;
    minute.setInterval(60000);
    QObject::connect(&minute, &QTimer::timeout, [&] {
        const sample now {int(clock.elapsed() / 60000), residentMiB(), heapMiB(), requests};
        samples << now;
        std::printf("%8d %14.1f %12.1f %10lld\n", now.minute, now.resident, now.heap, now.requests);
        std::fflush(stdout);
        if (now.minute >= minutes) {
            QMetaObject::invokeMethod(
                &window, "commandRefresh", Qt::DirectConnection, Q_ARG(bool, false));
            QCoreApplication::quit();
        }
    });
    minute.start();
    QApplication::exec();
    window.document()->clear();
    sim.terminate();
    sim.waitForFinished(5000);

    // The sample after a tenth of the run, at most after 10 minutes.
    const int early = std::min(10, std::max(1, minutes / 6));
    const auto at = std::find_if(
        samples.cbegin(), samples.cend(), [early](const sample &s) { return s.minute >= early; });
    if (samples.isEmpty() || at == samples.cend())
        return 1;
    const sample &first = *at;
    const sample &last = samples.last();
    std::printf("after %d minutes: resident %.1f MiB, heap %.1f MiB (%lld requests)\n",
        first.minute, first.resident, first.heap, first.requests);
    std::printf("after %d minutes: resident %.1f MiB, heap %.1f MiB (%lld requests)\n", last.minute,
        last.resident, last.heap, last.requests);
    std::printf("difference: resident %+.1f MiB, heap %+.1f MiB; ratio: resident %.3f, heap "
                "%.3f\n",
        last.resident - first.resident, last.heap - first.heap, last.resident / first.resident,
        last.heap / first.heap);
    return 0;
}
