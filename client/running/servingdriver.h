#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;
class childProcess;

// A driver that keeps its line open ("--serve") for one program and one
// port: started with the port's arguments at its first request, it carries
// the request arguments given to request() one after another, each answered
// with what the one-shot run of the same command line would print and end
// with. A driver that has ended, or was killed, is started again at the
// next request; one that ends before a request line was read by it is
// started again for that line, which it never saw.
class servingDriver : public QObject
{
    Q_OBJECT

public:
    // How a request ended, in the terms of a one-shot run.
    struct outcome
    {
        bool done = false; // false: the event loop quit during the wait
        int result = 0; // the exit status (0, 255), or a result of exe
        QString outText;
        QString errText;
        QString startError; // why the driver could not be started
        int signal = 0; // the signal that ended the driver
    };

    // program: the driver's path; portArguments: its command line before "--serve".
    servingDriver(QString program, QStringList portArguments, QObject *parent = nullptr);
    ~servingDriver() override;

    QString program() const { return programPath; }
    QStringList portArguments() const { return lineArguments; }
    bool isRunning() const;

    // Carries one request (its arguments after the port's) and returns once
    // it has ended, processing events meanwhile. timeoutMs of silence from
    // the driver ends it (exe::TimeoutResult) and the driver is killed.
    outcome request(const QStringList &requestArguments, int timeoutMs);
    // Kills the driver at once: a request under way ends with
    // exe::StoppedResult. The next request starts it again.
    void stop();

signals:
    // The request under way has ended, one way or another.
    void settled();

private:
    enum Wait { Answering, Answered, Ended, TimedOut, Stopped };

    bool start();
    // Takes what the driver wrote; settles the wait once both end lines, or
    // the driver's end, are in.
    void readOutput();
    void readError();
    void driverEnded(int code, bool crashed);
    void settle(Wait how);
    void kill();

    QString programPath;
    QStringList lineArguments;
    childProcess *process = nullptr;
    QTimer *silence;
    QByteArray key; // of the session; empty until its ready line came
    QByteArray out; // standard output not yet handed out
    QByteArray err;
    Wait wait = Answered;
    int exitCode = 0;
    bool crashed = false;
};
