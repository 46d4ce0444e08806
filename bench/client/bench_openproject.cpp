// Opens generated projects (half reads, a quarter writes, a quarter macros)
// in the client's main window and prints, for each size, the time from Open
// to an idle window and the peak memory of the process, beside the figures
// the client had when large projects were first measured; then the time to
// show every page of the window once and the time to close the project.
// Each size runs in a process of its own, so that its peak is its own.
// Run on a display or with QT_QPA_PLATFORM=offscreen.
//
//   bench_openproject [requests...]      (default 1000 4000 10000)

#include "clientenvironment.h"
#include "idlewindow.h"
#include "mainwindow.h"
#include "projectdocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The figures measured before the rows were made lighter: seconds to an idle
// window and peak MiB; 10,000 requests were not usable then.
struct earlier
{
    int requests;
    const char *seconds;
    const char *mib;
};
const earlier earlierFigures[]
    = {{1000, "1.4", "236"}, {4000, "5.4", "859"}, {10000, "unusable", "-"}};

QByteArray projectText(int requests)
{
    QJsonArray reads, writes, macros;
    const int readCount = requests / 2, writeCount = requests / 4;
    for (int i = 0; i < readCount; ++i)
        reads.append(QJsonObject {{"addr", QString::number(1000 + i)},
            {"desc", QStringLiteral("Measurement %1").arg(i)}, {"format", i % 2 ? "F_X_X" : ""},
            {"type", i % 3 ? "U16" : "S16"}});
    for (int i = 0; i < writeCount; ++i)
        writes.append(QJsonObject {{"addr", QString::number(2000 + i)},
            {"desc", QStringLiteral("Setting %1").arg(i)}, {"type", "U16"},
            {"value", QString::number(i)}});
    for (int i = 0; i < requests - readCount - writeCount; ++i)
        macros.append(QJsonObject {
            {"desc", QStringLiteral("Command %1").arg(i)}, {"name", "MACRO_RESET"}, {"param", ""}});
    const QJsonObject tcp {{"active", true}, {"addr", "1"}, {"desc", "bay"}, {"ip", "127.0.0.1"},
        {"port", "502"}, {"type", "TCP"}};
    const QJsonObject root {{"communications", QJsonArray {tcp}}, {"macro", macros},
        {"name", "bench"}, {"read", reads}, {"write", writes}};
    return QJsonDocument(root).toJson();
}

// One size in this process: prints the seconds to open, the peak MiB (after
// Open), the seconds to show every page once and the seconds to close the
// project again.
int measureOne(int requests)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    const QString path = dir.filePath(QStringLiteral("project.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(projectText(requests)) < 0) {
        std::fprintf(stderr, "bench_openproject: cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();

    MainWindow window;
    window.resize(1000, 700);
    window.show();
    waitForIdle();

    QElapsedTimer timer;
    timer.start();
    window.loadFile(path);
    waitForIdle();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double mib = peakMib();
    if (window.document()->name() != QLatin1String("bench")) {
        std::printf("failed\n");
        return 0;
    }
    // Every page of the window shown once: the rows of a page first shown
    // are polished and laid out then.
    timer.restart();
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            waitForIdle();
        }
    }
    const double pages = timer.nsecsElapsed() / 1e9;
    timer.restart();
    window.document()->clear();
    waitForIdle();
    std::printf("%.3f %.1f %.3f %.3f\n", seconds, mib, pages, timer.nsecsElapsed() / 1e9);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--one") {
        setClientEnvironment(); // as the client's own start
        QApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("qel-bench"));
        QCoreApplication::setApplicationName(QStringLiteral("bench_openproject"));
        return measureOne(QByteArray(argv[2]).toInt());
    }

    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {1000, 4000, 10000};

    std::printf("Open a project to an idle window (each size in its own process)\n");
    std::printf("%9s  %12s %10s   %12s %10s   %-14s %8s %8s\n", "requests", "now s", "now MiB",
        "before s", "before MiB", "ratio s / MiB", "pages s", "close s");
    for (int requests : sizes) {
        QProcess one;
        one.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        one.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--one"), QString::number(requests)});
        if (!one.waitForFinished(-1) || one.exitCode() != 0) {
            std::printf("%9d  the measuring process failed\n", requests);
            continue;
        }
        const QList<QByteArray> figures = one.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 4) {
            std::printf("%9d  the project did not open\n", requests);
            continue;
        }
        const double seconds = figures[0].toDouble(), mib = figures[1].toDouble();
        const double pagesSeconds = figures[2].toDouble(), closeSeconds = figures[3].toDouble();
        const earlier *before = nullptr;
        for (const earlier &figure : earlierFigures)
            if (figure.requests == requests)
                before = &figure;
        const double beforeSeconds = before ? QByteArray(before->seconds).toDouble() : 0;
        const double beforeMib = before ? QByteArray(before->mib).toDouble() : 0;
        QByteArray ratio("-");
        if (beforeSeconds > 0 && beforeMib > 0)
            ratio = QByteArray::number(seconds / beforeSeconds, 'f', 2) + " / "
                + QByteArray::number(mib / beforeMib, 'f', 2);
        std::printf("%9d  %12.3f %10.1f   %12s %10s   %-14s %8.3f %8.3f\n", requests, seconds, mib,
            before ? before->seconds : "-", before ? before->mib : "-", ratio.constData(),
            pagesSeconds, closeSeconds);
    }
    return 0;
}
