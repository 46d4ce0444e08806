// Figures of qelDrvModbus against the device simulator, measured side by side
// in one run, process start included:
//  - median start-to-exit time of a one-shot "--read_u16" over TCP, divided by
//    that of a bare Qt console program;
//  - a 65535-register range read with "--fdelay 0" over TCP and over a
//    pseudo-terminal.
//
//   bench_drvmodbus [runs]      (default 21 one-shot runs, 7 range runs)

#include "drivertiming.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? qMax(3, QString(argv[1]).toInt()) : 21;
    const int rangeRuns = qMax(3, runs / 3);
    QTextStream out(stdout);

    Simulator tcp;
    Simulator pty;
    if (!tcp.start(false) || !pty.start(true)) {
        std::fprintf(stderr, "bench_drvmodbus: the simulator did not start\n");
        return 1;
    }
    const QString driver = program(QStringLiteral("qelDrvModbus"));
    const QString bare = program(QStringLiteral("bench_bareqt"));
    const QStringList oneShot = tcp.lineArguments() + QStringList {"--read_u16", "0"};
    const QStringList range {"--read", "0", "--range", "65535", "--fdelay", "0"};

    // Warm the page cache, then alternate so that a busy machine weighs on
    // both sides alike.
    timedRun(bare, {});
    timedRun(driver, oneShot);
    std::vector<double> bareTimes, oneShotTimes, tcpRangeTimes, ptyRangeTimes;
    for (int i = 0; i < runs; ++i) {
        bareTimes.push_back(timedRun(bare, {}));
        oneShotTimes.push_back(timedRun(driver, oneShot));
    }
    for (int i = 0; i < rangeRuns; ++i) {
        tcpRangeTimes.push_back(timedRun(driver, tcp.lineArguments() + range));
        ptyRangeTimes.push_back(timedRun(driver, pty.lineArguments() + range));
    }
    for (const auto *times : {&bareTimes, &oneShotTimes, &tcpRangeTimes, &ptyRangeTimes}) {
        if (std::count(times->begin(), times->end(), -1.0)) {
            std::fprintf(stderr, "bench_drvmodbus: a run failed\n");
            return 1;
        }
    }

    const double bareMedian = median(bareTimes);
    const double oneShotMedian = median(oneShotTimes);
    out << QString("bare Qt console program, start to exit:       %1 ms (median of %2)\n")
               .arg(bareMedian, 0, 'f', 2)
               .arg(runs);
    out << QString("qelDrvModbus --read_u16 over TCP:             %1 ms (median of %2)\n")
               .arg(oneShotMedian, 0, 'f', 2)
               .arg(runs);
    out << QString("  ratio to the bare program:                  %1 (target at most 1.5)\n")
               .arg(oneShotMedian / bareMedian, 0, 'f', 2);
    out << QString("65535-register range read, TCP, --fdelay 0:   %1 ms (median of %2; target "
                   "at most 50)\n")
               .arg(median(tcpRangeTimes), 0, 'f', 1)
               .arg(rangeRuns);
    out << QString("65535-register range read, pty, --fdelay 0:   %1 ms (median of %2)\n")
               .arg(median(ptyRangeTimes), 0, 'f', 1)
               .arg(rangeRuns);
    return 0;
}
