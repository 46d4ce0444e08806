// qelDrvModbus beside a pymodbus client reading the same ranges from the same
// simulator over TCP, in one run: 65535 coils and 65535 holding registers.
//
// Both sides are shown three ways:
//  - elapsed: the driver's whole run, process start and connection included,
//    against pymodbus's reads alone (its interpreter start and import of
//    pymodbus, shown apart, left out): the measure least kind to the driver;
//  - reads alone: the driver's run less that of a one-register read (start,
//    connection, one request), against pymodbus's reads alone;
//  - processor: the processor time of the driver's whole run, and of its
//    reads alone, against pymodbus's processor time of its reads.
// Medians of runs alternating between the two, so that a busy machine weighs
// on both. Both clients wait for every reply of one simulator, whose own time
// per request is in both sides' elapsed figures.
//
//   bench_bitsregisters [runs]      (default 7)

#include "drivertiming.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

// pymodbus's elapsed (index 1) or processor (index 2) figure for "coils" or
// "registers" in its output, -1 when missing.
double figure(const QByteArray &out, const char *name, int index)
{
    for (const QByteArray &line : out.split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() == 3 && parts.at(0) == name)
            return parts.at(index).toDouble();
    }
    return -1;
}

// The elapsed and processor times of a side's runs.
struct Times
{
    std::vector<double> elapsed;
    std::vector<double> processor;

    bool add(double elapsedMs, double processorMs)
    {
        elapsed.push_back(elapsedMs);
        processor.push_back(processorMs);
        return elapsedMs >= 0 && processorMs >= 0;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? qMax(3, QString(argv[1]).toInt()) : 7;
    QTextStream out(stdout);

    // Every tenth coil on, so the replies carry set and cleared bits.
    Simulator sim;
    if (!sim.start(false, {"--coils", "0=" + QString("1000000000").repeated(6553)})) {
        std::fprintf(stderr, "bench_bitsregisters: the simulator did not start\n");
        return 1;
    }
    const QString driver = program(QStringLiteral("qelDrvModbus"));
    const QStringList oneRegister = sim.lineArguments() + QStringList {"--read_u16", "0"};
    const QStringList coils = sim.lineArguments()
        + QStringList {"--read_coils", "0", "--range", "65535", "--fdelay", "0"};
    const QStringList registers
        = sim.lineArguments() + QStringList {"--read", "0", "--range", "65535", "--fdelay", "0"};
    const QStringList pymodbus {QStringLiteral(QEL_PYMODBUS_READS), sim.port()};

    timedRun(driver, oneRegister); // page cache
    timedRun(Python, pymodbus);
    Times ourBase, ourCoils, ourRegisters, theirCoils, theirRegisters;
    std::vector<double> theirProcess;
    bool ran = true;
    for (int i = 0; i < runs && ran; ++i) {
        double processor = 0;
        double elapsed = timedRun(driver, oneRegister, nullptr, &processor);
        ran = ourBase.add(elapsed, processor);
        elapsed = timedRun(driver, coils, nullptr, &processor);
        ran = ourCoils.add(elapsed, processor) && ran;
        elapsed = timedRun(driver, registers, nullptr, &processor);
        ran = ourRegisters.add(elapsed, processor) && ran;
        QByteArray printed;
        theirProcess.push_back(timedRun(Python, pymodbus, &printed));
        ran = theirCoils.add(figure(printed, "coils", 1), figure(printed, "coils", 2)) && ran;
        ran = theirRegisters.add(figure(printed, "registers", 1), figure(printed, "registers", 2))
            && ran;
    }
    if (!ran) {
        std::fprintf(stderr, "bench_bitsregisters: a run failed (pymodbus installed?)\n");
        return 1;
    }

    const double baseElapsed = median(ourBase.elapsed);
    const double baseProcessor = median(ourBase.processor);
    const auto ms = [](double value) { return QString::number(value, 'f', 1) + " ms"; };
    const auto ratio = [](double theirs, double ours) {
        return ours > 0 ? QString::number(theirs / ours, 'f', 2) : QStringLiteral("-");
    };
    const auto rows = [&](const char *what, const Times &ours, const Times &theirs) {
        const double elapsed = median(ours.elapsed);
        const double processor = median(ours.processor);
        const double theirElapsed = median(theirs.elapsed);
        const double theirProcessor = median(theirs.processor);
        out << what << "\n";
        out << "  elapsed, whole driver run:     qelDrvModbus " << ms(elapsed) << ", pymodbus "
            << ms(theirElapsed) << ", pymodbus/qelDrvModbus " << ratio(theirElapsed, elapsed)
            << "\n";
        out << "  elapsed, reads alone:          qelDrvModbus " << ms(elapsed - baseElapsed)
            << ", pymodbus " << ms(theirElapsed) << ", pymodbus/qelDrvModbus "
            << ratio(theirElapsed, elapsed - baseElapsed) << "\n";
        out << "  processor, whole driver run:   qelDrvModbus " << ms(processor) << ", pymodbus "
            << ms(theirProcessor) << ", pymodbus/qelDrvModbus " << ratio(theirProcessor, processor)
            << "\n";
        out << "  processor, reads alone:        qelDrvModbus " << ms(processor - baseProcessor)
            << ", pymodbus " << ms(theirProcessor) << ", pymodbus/qelDrvModbus "
            << ratio(theirProcessor, processor - baseProcessor) << "\n";
    };
    out << "median of " << runs << " runs each, TCP on loopback, one simulator; target: "
        << "pymodbus/qelDrvModbus at least 4\n";
    out << "one-register read (start, connection, one request): " << ms(baseElapsed) << " elapsed, "
        << ms(baseProcessor) << " processor\n";
    rows("65535 coils (requests of 2000):", ourCoils, theirCoils);
    rows("65535 registers (qelDrvModbus requests of 120, pymodbus of 125):", ourRegisters,
        theirRegisters);
    out << "pymodbus process, start and both reads: " << ms(median(theirProcess)) << "\n";
    return 0;
}
