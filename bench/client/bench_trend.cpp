// ReadAll of 1,000 read rows against the simulator, measured side by side in
// one run: plain, and with every row marked for the trend, the trend window
// shown and every result recorded to a CSV file. Prints the wall time of each
// (the median of the runs), their ratio, and the client's own processor time
// per value received (drivers not included), plain and with trend and CSV.
// Run on a display or with QT_QPA_PLATFORM=offscreen.
//
//   bench_trend [rows] [runs]      (default 1000 rows, 3 runs of each)

#include "clientenvironment.h"
#include "csvrecorder.h"
#include "mainwindow.h"
#include "processortime.h"
#include "projectdocument.h"
#include "resultsink.h"
#include "trendcommands.h"
#include "trendmodel.h"

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

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray projectText(int rows, quint16 port, bool marked)
{
    QJsonArray reads;
    for (int i = 0; i < rows; ++i) {
        QJsonObject read {{"addr", QString::number(1000 + i)},
            {"desc", QStringLiteral("Value %1").arg(i)}, {"format", i % 2 ? "F_X_X" : ""},
            {"type", i % 3 ? "U16" : "S16"}};
        if (marked)
            read.insert("trend", true);
        reads.append(read);
    }
    const QJsonObject tcp {{"active", true}, {"addr", "1"}, {"desc", "simulator"},
        {"ip", "127.0.0.1"}, {"port", QString::number(port)}, {"type", "TCP"}};
    const QJsonObject root {{"communications", QJsonArray {tcp}}, {"macro", QJsonArray()},
        {"name", "bench"}, {"read", reads}, {"write", QJsonArray()}};
    return QJsonDocument(root).toJson();
}

struct measure
{
    double wallMs = 0;
    double cpuMs = 0;
    int values = 0;
};

double median(std::vector<double> list)
{
    std::sort(list.begin(), list.end());
    return list.empty() ? 0 : list[list.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    setClientEnvironment(); // as the client's own start
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("qel-bench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_trend"));
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));

    // The drivers are found beside this program.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QProcess sim;
    sim.start(QDir(QCoreApplication::applicationDirPath()).filePath("qelDevSim"),
        {"--tcp", "127.0.0.1:0", "--no-macros", "--holding", "1000=1,2,3,4,5,6,7,8,9,10"});
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "bench_trend: the simulator did not start\n");
        return 1;
    }
    const quint16 port = QString::fromLatin1(sim.readLine()).trimmed().section(':', 1).toUShort();

    const QString plain = dir.filePath("plain.json"), marked = dir.filePath("marked.json");
    for (const auto &[path, mark] : {std::pair {plain, false}, std::pair {marked, true}}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(projectText(rows, port, mark)) < 0) {
            std::fprintf(stderr, "bench_trend: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    MainWindow window;
    window.show();
    std::vector<double> wall[2], cpu[2];
    int values[2] = {0, 0};
    for (int run = 0; run < runs; ++run) {
        for (int with = 0; with < 2; ++with) {
            window.document()->clear();
            window.loadFile(with ? marked : plain);
            const QString csv = dir.filePath(QStringLiteral("run%1.csv").arg(run));
            if (with) {
                window.trends()->results()->showWindow();
                window.trends()->startRecording(csv);
            }
            QCoreApplication::processEvents();
            const double cpuStart = processorMs();
            QElapsedTimer timer;
            timer.start();
            QMetaObject::invokeMethod(
                &window, "commandReadAll", Qt::DirectConnection, Q_ARG(bool, false));
            wall[with].push_back(timer.nsecsElapsed() / 1e6);
            cpu[with].push_back(processorMs() - cpuStart);
            values[with] = rows;
            if (with) {
                window.trends()->results()->recorder()->stop();
                int points = 0;
                for (const QObject *row : window.trends()->results()->trend()->rows())
                    points += window.trends()->results()->trend()->series(row)->size();
                QFile file(csv);
                file.open(QIODevice::ReadOnly);
                const int lines = file.readAll().count("\r\n") - 1;
                if (lines != rows || points != rows)
                    std::fprintf(stderr,
                        "bench_trend: %d CSV rows and %d trend points for %d reads\n", lines,
                        points, rows);
            }
        }
    }
    window.document()->clear();
    sim.terminate();
    sim.waitForFinished(5000);

    const double plainMs = median(wall[0]), withMs = median(wall[1]);
    const double plainCpu = median(cpu[0]) / values[0], withCpu = median(cpu[1]) / values[1];
    std::printf("ReadAll of %d read rows against the simulator (median of %d runs):\n", rows, runs);
    std::printf("  plain:                          %9.1f ms\n", plainMs);
    std::printf("  marked, trend shown, recording: %9.1f ms\n", withMs);
    std::printf("  ratio:                          %9.3f (%+.1f %%)\n", withMs / plainMs,
        (withMs / plainMs - 1) * 100);
    std::printf("client processor time per value received (drivers not included):\n");
    std::printf("  plain:                          %9.3f ms\n", plainCpu);
    std::printf("  marked, trend shown, recording: %9.3f ms\n", withCpu);
    std::printf("  added by trend and recording:   %9.3f ms\n", withCpu - plainCpu);
    return 0;
}
