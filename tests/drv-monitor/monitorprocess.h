#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <csignal>
#include <memory>

// qelDrvMonitor as a running process: started on a line, waited for until
// it listens, ended with a signal, its output kept.
class MonitorProcess
{
public:
    explicit MonitorProcess(const QStringList &arguments);
    ~MonitorProcess(); // kills it when it still runs

    // Starts it and waits for its "Listening on" line (or, without one, a
    // moment to set its line up); false with the reason in *why.
    bool start(QString *why, bool expectListeningLine = true);
    qint64 pid() const;
    // Sends the signal and waits for the end; false when it does not end
    // within timeoutMs.
    bool stop(int signal = SIGINT, int timeoutMs = 30000);
    // Waits for its own end; false when it does not come within timeoutMs.
    bool waitForEnd(int timeoutMs);
    // Waits until standard output holds text; false after timeoutMs.
    bool waitForOutput(const QByteArray &text, int timeoutMs);

    bool exitedNormally() const;
    int exitCode() const;
    QByteArray out(); // everything written so far
    QByteArray err();

private:
    void collect();

    QStringList arguments;
    std::unique_ptr<QProcess> process;
    QByteArray standardOutput;
    QByteArray standardError;
};
