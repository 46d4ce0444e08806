#include "drivertiming.h"

#include <QDir>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>

namespace {

// The processor time the ended child processes have used so far, in ms.
double childrenProcessorMs()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

} // namespace

QString program(const QString &name)
{
    return QDir(QStringLiteral(QEL_BIN_DIR)).filePath(name);
}

double timedRun(
    const QString &path, const QStringList &arguments, QByteArray *out, double *processorMs)
{
    const double processorBefore = childrenProcessorMs();
    QProcess process;
    if (!out)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(path, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return -1;
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    if (processorMs)
        *processorMs = childrenProcessorMs() - processorBefore;
    if (out)
        *out = process.readAllStandardOutput();
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values.at(values.size() / 2);
}

Simulator::~Simulator()
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}

bool Simulator::start(bool pty, const QStringList &options)
{
    process.setProgram(program(QStringLiteral("qelDevSim")));
    process.setArguments((pty ? QStringList {"--pty", "--no-macros"}
                              : QStringList {"--tcp", "127.0.0.1:0", "--no-macros"})
        + options);
    process.start();
    if (!process.waitForStarted(10000))
        return false;
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000))
            return false;
    }
    where = QString::fromUtf8(process.readLine()).trimmed();
    return !where.isEmpty();
}

QStringList Simulator::lineArguments() const
{
    if (where.startsWith(QLatin1Char('/')))
        return {"--port", where, "--address", "1"};
    return {"--ip", where.section(':', 0, 0), "--port", where.section(':', 1)};
}
