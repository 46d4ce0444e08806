#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QTextDecoder;
class QTimer;
class childProcess;

namespace AppExe {

// One run of a console program as a child process: starts it with its
// arguments, collects its standard output and standard error, kills it
// after timeoutMs of silence (result -1003) and lets the caller wait for the
// end while the event loop keeps running. One object serves one run.
class exe : public QObject
{
    Q_OBJECT

public:
    // The result of a run that was ended by the inactivity time-out, or whose
    // program could not be started.
    static constexpr int TimeoutResult = -1003;
    // The result of a run ended by abort().
    static constexpr int StoppedResult = -1004;

    // program is resolved against the current directory; it receives the
    // arguments one by one, as they are.
    exe(QString program, QStringList arguments, bool startNow, int timeoutMs);
    ~exe() override;

    // The arguments as a command line shows them: separated by blanks, one
    // that is empty or holds a blank in double quotes.
    static QString commandText(const QStringList &arguments);

    // Starts the run; returns result.
    int start();
    // Returns once the run has ended, processing events meanwhile; returns result.
    int wait();
    // Kills the program at once and ends the run with StoppedResult.
    void abort();

    childProcess *process = nullptr;
    QTimer *timer = nullptr;
    QString program; // absolute path, in double quotes when it holds a blank
    QStringList arguments; // as the program receives them
    bool done = false;
    int result = 0;
    int timeoutMs = 0;
    QString outText; // standard output of this run, UTF-8, line ends kept
    QString errText; // standard error of this run
    QString commandLine; // program + " " + commandText(arguments)
    QString startError; // why the program could not be started; empty when it was
    int signal = 0; // the signal that ended the program; 0 when it exited or still runs

signals:
    // A chunk of output with carriage returns and line feeds removed.
    void updateLog(QString text);
    // The program has ended on its own with this exit code.
    void complete(int code);
    // The run was ended by the time-out (or a failed start), with -1003.
    void timeout(int code);
    // The run was ended by abort(), with -1004.
    void stopped(int code);

private slots:
    void finished(int exitCode, bool crashed);
    void standardError();
    void standardOutput();
    void timeoutOccured();
    void startFailed();

private:
    void readChannel(bool standardOutput);
    void end(int code);

    QString programPath; // unquoted absolute path, what is actually started
    QTextDecoder *outDecoder = nullptr;
    QTextDecoder *errDecoder = nullptr;
    QMetaObject::Connection connections[4];
};

} // namespace AppExe
