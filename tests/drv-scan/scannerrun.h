#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// qelDrvScan started in the background, so a test can act while the scan
// goes on: wait for lines of its output, then collect the rest.
class ScannerRun
{
public:
    explicit ScannerRun(const QStringList &arguments);
    ~ScannerRun();

    bool started() const { return isStarted; }
    // Waits until the output holds at least count complete lines that
    // contain text; false when the scanner ended or 60 s passed first.
    bool waitForLines(const QString &text, int count);
    // Waits until standard error holds text; false when the scanner ended or
    // 60 s passed first.
    bool waitForError(const QString &text);
    // Waits for the end (at most timeoutMs); true when it ended on its own.
    bool finish(int timeoutMs = 120000);
    // Sends the signal (SIGINT, SIGTERM, ...) to the scanner.
    void signal(int number);

    QString output() const { return QString::fromUtf8(out); }
    QString errorOutput() const { return QString::fromUtf8(err); }
    int exitCode() const { return process.exitCode(); }
    bool crashed() const { return process.exitStatus() == QProcess::CrashExit; }

private:
    int countLines(const QString &text) const;
    // Reads what arrives until done() holds; false at the end or after 60 s.
    template<typename Done> bool waitUntil(QProcess::ProcessChannel channel, Done done);

    QProcess process;
    QByteArray out;
    QByteArray err;
    bool isStarted = false;
};
