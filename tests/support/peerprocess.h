#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A peer program of a test (a pymodbus server, say) whose standard output
// the test reads line by line. It is killed when the object goes.
class PeerProcess
{
public:
    ~PeerProcess();

    void start(const QString &program, const QStringList &arguments);
    // The first line that starts with prefix, waiting at most 30 s for it;
    // empty when none came or the program ended.
    QString waitForLine(const QString &prefix);
    // Every line so far.
    QStringList lines();
    QString errors();

private:
    QProcess process;
    QStringList seen;
};
