#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// One run of a program as a child process, watched from the event loop: its
// standard output and standard error come through pipes, its end through a
// process descriptor, and its standard input is empty, or a pipe the caller
// writes to (setInputPipe()).
//
// The child is started with posix_spawn, which does not copy the caller's
// memory as fork does: QProcess forks, and a fork costs the caller time in
// proportion to its memory (about 1.8 ms per run at 100 MiB, against
// 0.07 ms), on every request a large project runs.
class childProcess : public QObject
{
    Q_OBJECT

public:
    explicit childProcess(QObject *parent = nullptr);
    // Kills and reaps a child that is still running.
    ~childProcess() override;

    // Starts program (a path) with arguments. False when it could not be
    // started; errorString() then says why. One object serves one run.
    bool start(const QString &program, const QStringList &arguments);

    // Before start(): whether the child's standard input is a pipe that
    // write() feeds and closeInput() ends.
    void setInputPipe(bool on) { inputPipe = on; }
    // Writes bytes whole to the child's standard input; false when there is
    // no input pipe or the child no longer reads it (it has ended). Never
    // raises SIGPIPE.
    bool write(const QByteArray &bytes);
    // Closes the child's standard input: it reads its end.
    void closeInput();

    // Started and not yet reaped.
    bool isRunning() const { return pid > 0; }
    // The child's process id while it runs; 0 otherwise.
    qint64 processId() const { return pid; }
    QString errorString() const { return error; }

    // Ends the child at once (SIGKILL); finished() follows from the event loop.
    void kill();
    // Asks the child to end (SIGTERM), as a program that cleans up on the
    // way out wants; finished() follows from the event loop once it has.
    void terminate();
    // Waits at most timeoutMs, without the event loop, for the child to end;
    // true when it has ended, finished() emitted by then.
    bool waitForFinished(int timeoutMs);

    // What the child has written since the last call.
    QByteArray readAllStandardOutput();
    QByteArray readAllStandardError();

signals:
    void readyReadStandardOutput();
    void readyReadStandardError();
    // The child has ended: its exit code, or the signal that killed it with
    // crashed set. Output still in the pipes was read before.
    void finished(int exitCode, bool crashed);

private:
    struct channel
    {
        int fd = -1;
        QSocketNotifier *notifier = nullptr;
        QByteArray buffer;
    };

    // Reads what the pipe holds now; true when something was read.
    bool drain(channel &from);
    void readable(channel &from, void (childProcess::*ready)());
    void ended();
    void reap(int options);
    void closeAll();
    static void closeChannel(channel &from);

    channel out;
    channel err;
    bool inputPipe = false;
    int inputFd = -1; // the write end of the child's standard input
    int pidDescriptor = -1;
    QSocketNotifier *endNotifier = nullptr;
    qint64 pid = 0;
    QString error;
};
