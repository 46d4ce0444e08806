#include "scannerrun.h"

#include "programrun.h"

#include <QDeadlineTimer>

#include <csignal>

namespace {
constexpr int LineTimeoutMs = 60000;
} // namespace

ScannerRun::ScannerRun(const QStringList &arguments)
{
    process.start(programPath(QStringLiteral("qelDrvScan")), arguments);
    isStarted = process.waitForStarted(LineTimeoutMs);
}

ScannerRun::~ScannerRun()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(LineTimeoutMs);
    }
}

int ScannerRun::countLines(const QString &text) const
{
    const QStringList lines = QString::fromUtf8(out).split(QStringLiteral("\r\n"));
    int count = 0;
    // The last piece is an unfinished line (or empty).
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (lines.at(i).contains(text))
            ++count;
    }
    return count;
}

template<typename Done> bool ScannerRun::waitUntil(QProcess::ProcessChannel channel, Done done)
{
    // waitForReadyRead() returns when the current read channel has data.
    process.setReadChannel(channel);
    const QDeadlineTimer deadline(LineTimeoutMs);
    bool reached = true;
    while (!done()) {
        if (process.state() != QProcess::Running || deadline.hasExpired()) {
            reached = false;
            break;
        }
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        out += process.readAllStandardOutput();
        err += process.readAllStandardError();
    }
    process.setReadChannel(QProcess::StandardOutput);
    return reached;
}

bool ScannerRun::waitForLines(const QString &text, int count)
{
    return waitUntil(QProcess::StandardOutput, [&] { return countLines(text) >= count; });
}

bool ScannerRun::waitForError(const QString &text)
{
    return waitUntil(
        QProcess::StandardError, [&] { return QString::fromUtf8(err).contains(text); });
}

void ScannerRun::signal(int number)
{
    if (process.state() == QProcess::Running)
        ::kill(pid_t(process.processId()), number);
}

bool ScannerRun::finish(int timeoutMs)
{
    const bool ended
        = process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
    out += process.readAllStandardOutput();
    err += process.readAllStandardError();
    return ended && process.exitStatus() == QProcess::NormalExit;
}
