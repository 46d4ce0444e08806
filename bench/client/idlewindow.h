#pragma once

#include <QAbstractEventDispatcher>
#include <QByteArray>
#include <QEventLoop>
#include <QFile>

// What the client benches measure of a window: when it has become idle, and
// the peak memory of the process.

// The largest resident size of this process so far, in MiB.
inline double peakMib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Returns once the event loop has nothing left to do and is about to wait.
inline void waitForIdle()
{
    QEventLoop loop;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
        &loop, &QEventLoop::quit);
    loop.exec();
}
