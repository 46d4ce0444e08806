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

    enum class Ready {
        Listening, // its "Listening on" line on standard output
        ListeningOnError, // the same on standard error (CSV on standard output)
        Started, // no more than started (a run that fails before listening)
    };
    // Starts it and waits until it is ready; false with the reason in *why.
    bool start(QString *why, Ready ready = Ready::Listening);
    qint64 pid() const;
    // Sends the signal and waits for the end; false when it does not end
    // within timeoutMs.
    bool stop(int signal = SIGINT, int timeoutMs = 30000);
    // Waits for its own end; false when it does not come within timeoutMs.
    bool waitForEnd(int timeoutMs);
    // Waits until standard output (error: standard error) holds text;
    // false after timeoutMs.
    bool waitForOutput(const QByteArray &text, int timeoutMs, bool error = false);

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
