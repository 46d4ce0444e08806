#include "peerprocess.h"

#include <QDeadlineTimer>

PeerProcess::~PeerProcess()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

void PeerProcess::start(const QString &program, const QStringList &arguments)
{
    process.start(program, arguments);
}

QString PeerProcess::waitForLine(const QString &prefix)
{
    QDeadlineTimer deadline(30000);
    for (;;) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            seen.append(line);
            if (line.startsWith(prefix))
                return line;
        }
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
            return QString();
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

QStringList PeerProcess::lines()
{
    process.waitForReadyRead(100);
    while (process.canReadLine())
        seen.append(QString::fromUtf8(process.readLine()).trimmed());
    return seen;
}

QString PeerProcess::errors()
{
    return QString::fromUtf8(process.readAllStandardError());
}
