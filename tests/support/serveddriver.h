#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A driver started with "--serve" from a test: its ready line read, then one
// request line at a time written to its standard input and its answer read
// from both pipes up to their end lines.
class ServedDriver
{
public:
    // What one request line got: the request's standard output and standard
    // error without their end lines, and the status of the end line.
    struct Answer
    {
        bool answered = false; // both end lines came in time
        bool wellFormed = false; // both end lines carry the same well-formed status
        QByteArray out;
        QByteArray err;
        int status = -1;
    };

    ServedDriver() = default;
    ~ServedDriver();
    ServedDriver(const ServedDriver &) = delete;
    ServedDriver &operator=(const ServedDriver &) = delete;

    // Starts program (a path) with its line arguments and "--serve" and
    // waits for the ready line. False when the program ended before it:
    // startOutput(), startError() and exitCode() say how.
    bool start(const QString &program, const QStringList &lineArguments, int timeoutMs = 30000);
    QByteArray key() const { return sessionKey; }

    // Writes line and a line feed, then reads the answer.
    Answer request(const QByteArray &line, int timeoutMs = 30000);
    // Writes bytes as they are (several lines, or part of one).
    void write(const QByteArray &bytes);
    // Reads the next answer.
    Answer answer(int timeoutMs = 30000);
    // Closes the driver's standard input.
    void closeInput();
    // Waits for the driver to end; false when it did not within timeoutMs.
    bool waitForEnd(int timeoutMs = 30000);

    // What came before the ready line (or the server's end) on each stream.
    QByteArray startOutput() const { return startOut; }
    QByteArray startError() const { return startErr; }
    // Bytes left after the last answer read (nothing should be there).
    QByteArray pendingOutput();
    bool isRunning() const { return process.state() != QProcess::NotRunning; }
    bool crashed() const { return process.exitStatus() == QProcess::CrashExit; }
    int exitCode() const { return process.exitCode(); }
    qint64 processId() const { return process.processId(); }

private:
    // Reads channel until an end line is in buffer; false when none came.
    bool readToEnd(QProcess::ProcessChannel channel, QByteArray *buffer, int timeoutMs);

    QProcess process;
    QByteArray sessionKey;
    QByteArray startOut;
    QByteArray startErr;
    QByteArray outBuffer;
    QByteArray errBuffer;
};
