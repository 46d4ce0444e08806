#include "monitorprocess.h"

#include "programrun.h"

#include <QDeadlineTimer>

MonitorProcess::MonitorProcess(const QStringList &arguments)
    : arguments(arguments)
{ }

MonitorProcess::~MonitorProcess()
{
    if (process && process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(10000);
    }
}

bool MonitorProcess::start(QString *why, Ready ready)
{
    process = std::make_unique<QProcess>();
    process->start(programPath(QStringLiteral("qelDrvMonitor")), arguments);
    if (!process->waitForStarted(30000)) {
        *why = QStringLiteral("did not start: ") + process->errorString();
        return false;
    }
    if (ready == Ready::Started)
        return true;
    if (!waitForOutput("Listening on", 30000, ready == Ready::ListeningOnError)) {
        *why = QStringLiteral("no listening line; output: ") + QString::fromUtf8(out())
            + QStringLiteral(" error: ") + QString::fromUtf8(err());
        return false;
    }
    return true;
}

qint64 MonitorProcess::pid() const
{
    return process ? process->processId() : -1;
}

void MonitorProcess::collect()
{
    standardOutput += process->readAllStandardOutput();
    standardError += process->readAllStandardError();
}

bool MonitorProcess::waitForOutput(const QByteArray &text, int timeoutMs, bool error)
{
    // waitForReadyRead() wakes for the read channel alone.
    process->setReadChannel(error ? QProcess::StandardError : QProcess::StandardOutput);
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        collect();
        if ((error ? standardError : standardOutput).contains(text))
            return true;
        if (deadline.hasExpired() || process->state() == QProcess::NotRunning)
            return false;
        process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

bool MonitorProcess::stop(int signal, int timeoutMs)
{
    if (process->state() != QProcess::NotRunning)
        ::kill(pid_t(process->processId()), signal);
    return waitForEnd(timeoutMs);
}

bool MonitorProcess::waitForEnd(int timeoutMs)
{
    const bool ended
        = process->state() == QProcess::NotRunning || process->waitForFinished(timeoutMs);
    collect();
    return ended;
}

bool MonitorProcess::exitedNormally() const
{
    return process->state() == QProcess::NotRunning
        && process->exitStatus() == QProcess::NormalExit;
}

int MonitorProcess::exitCode() const
{
    return process->exitCode();
}

QByteArray MonitorProcess::out()
{
    collect();
    return standardOutput;
}

QByteArray MonitorProcess::err()
{
    collect();
    return standardError;
}
