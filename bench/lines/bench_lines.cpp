// qelDrvModbus on every line against the simulator, measured side by side in
// one run, process start included: the median start-to-exit time of a
// one-shot "--read_u16 0" and of a 65535-register range read ("--fdelay 0")
// over MBAP, RTU over TCP, ASCII over TCP and TLS, each beside MBAP's; and
// the TLS one-shot beside a pymodbus TLS client process doing the same read.
// The one-shots' processor time (user and system) is printed too: on a busy
// machine the time to exit mostly waits for a processor.
//
//   bench_lines [runs]      (default 21 one-shot runs, 5 range runs)

#include "benchcertificates.h"
#include "drivertiming.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Line
{
    const char *name;
    QStringList simulator;
    QStringList driver; // after "--ip 127.0.0.1 --port N"
    std::unique_ptr<Simulator> running;
    std::vector<double> oneShot;
    std::vector<double> oneShotProcessor;
    std::vector<double> range;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? qMax(3, QString(argv[1]).toInt()) : 21;
    const int rangeRuns = qMax(3, runs / 4);
    QTextStream out(stdout);

    QTemporaryDir folder;
    if (!folder.isValid() || !makeBenchCertificates(folder.path())) {
        std::fprintf(stderr, "bench_lines: no certificates (openssl)\n");
        return 1;
    }
    const auto file = [&folder](const char *name) { return folder.filePath(name); };
    std::vector<Line> lines;
    lines.push_back({"MBAP", {}, {}, nullptr, {}, {}, {}});
    lines.push_back({"RTU over TCP", {"--framing", "RTU"}, {"--framing", "RTU", "--address", "1"},
        nullptr, {}, {}, {}});
    lines.push_back({"ASCII over TCP", {"--framing", "ASCII"},
        {"--framing", "ASCII", "--address", "1"}, nullptr, {}, {}, {}});
    lines.push_back({"TLS", {"--tls", file("server.pem"), file("server.key"), file("ca.pem")},
        {"--tls", "--cert", file("client.pem"), "--key", file("client.key"), "--ca",
            file("ca.pem")},
        nullptr, {}, {}, {}});
    for (Line &line : lines) {
        line.running = std::make_unique<Simulator>();
        if (!line.running->start(false, line.simulator)) {
            std::fprintf(stderr, "bench_lines: the simulator did not start (%s)\n", line.name);
            return 1;
        }
        line.driver
            = QStringList {"--ip", "127.0.0.1", "--port", line.running->port()} + line.driver;
    }
    const QString driver = program(QStringLiteral("qelDrvModbus"));
    const QString python = QStringLiteral("/usr/bin/python3");
    const QStringList pymodbus {QStringLiteral(QEL_PYMODBUS_TLS_READ), lines.back().running->port(),
        file("client.pem"), file("client.key"), file("ca.pem")};
    const QStringList oneShot {"--read_u16", "0"};
    const QStringList range {"--read", "0", "--range", "65535", "--fdelay", "0"};

    // Warm the page cache, then take turns so that a busy machine weighs on
    // every side alike.
    for (const Line &line : lines)
        timedRun(driver, line.driver + oneShot);
    timedRun(python, pymodbus);
    std::vector<double> pymodbusTimes;
    // Each round starts with another line, so that none always follows the
    // pymodbus client.
    const int count = int(lines.size());
    for (int i = 0; i < runs; ++i) {
        for (int j = 0; j < count; ++j) {
            Line &line = lines[size_t((i + j) % count)];
            double processor = 0;
            line.oneShot.push_back(timedRun(driver, line.driver + oneShot, nullptr, &processor));
            line.oneShotProcessor.push_back(processor);
        }
        pymodbusTimes.push_back(timedRun(python, pymodbus));
    }
    for (int i = 0; i < rangeRuns; ++i) {
        for (int j = 0; j < count; ++j) {
            Line &line = lines[size_t((i + j) % count)];
            line.range.push_back(timedRun(driver, line.driver + range));
        }
    }
    for (const Line &line : lines) {
        if (std::count(line.oneShot.begin(), line.oneShot.end(), -1.0)
            || std::count(line.range.begin(), line.range.end(), -1.0)) {
            std::fprintf(stderr, "bench_lines: a run failed (%s)\n", line.name);
            return 1;
        }
    }
    if (std::count(pymodbusTimes.begin(), pymodbusTimes.end(), -1.0)) {
        std::fprintf(stderr, "bench_lines: the pymodbus client failed\n");
        return 1;
    }

    const double mbapOneShot = median(lines.front().oneShot);
    const double mbapRange = median(lines.front().range);
    out << QString("qelDrvModbus, median of %1 one-shot --read_u16 and %2 65535-register range "
                   "reads per line:\n")
               .arg(runs)
               .arg(rangeRuns);
    const double mbapProcessor = median(lines.front().oneShotProcessor);
    out << QString("%1 %2 %3 %4 %5 %6 %7\n")
               .arg("line", -16)
               .arg("one-shot ms", 12)
               .arg("/MBAP", 7)
               .arg("its CPU ms", 11)
               .arg("/MBAP", 7)
               .arg("range ms", 10)
               .arg("/MBAP", 7);
    for (const Line &line : lines) {
        const double shot = median(line.oneShot);
        const double processor = median(line.oneShotProcessor);
        const double whole = median(line.range);
        out << QString("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(line.name, -16)
                   .arg(shot, 12, 'f', 2)
                   .arg(shot / mbapOneShot, 7, 'f', 2)
                   .arg(processor, 11, 'f', 2)
                   .arg(processor / mbapProcessor, 7, 'f', 2)
                   .arg(whole, 10, 'f', 1)
                   .arg(whole / mbapRange, 7, 'f', 2);
    }
    const double tls = median(lines.back().oneShot);
    const double python_ = median(pymodbusTimes);
    out << QString("pymodbus TLS client, the same read:  %1 ms (median of %2)\n")
               .arg(python_, 0, 'f', 2)
               .arg(runs);
    out << QString("  qelDrvModbus TLS / pymodbus:       %1 (target below 1)\n")
               .arg(tls / python_, 0, 'f', 2);
    out << "targets: RTU and ASCII over TCP one-shot at most 1.1 x MBAP, TLS at most 1.5 x MBAP\n";
    return 0;
}
