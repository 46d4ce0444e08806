#pragma once

#include "monitorline.h"
#include "monitoroutputreader.h"
#include "monitortransaction.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <memory>

class childProcess;

// One listening of qelDrvMonitor to a serial line, the program run as a
// child process with its CSV rows on standard output; the rows become
// transactions as they come, its standard error becomes messages.
class monitorSession : public QObject
{
    Q_OBJECT

public:
    // How long a monitor asked to stop may take before it is killed.
    static constexpr int StopGraceMs = 5000;

    // The session's state:
    //
    //   Idle ──start()──▶ Starting ──its "Listening on" line──▶ Listening
    //   Starting, Listening ──stop()──▶ Stopping: SIGTERM; SIGKILL after
    //       StopGraceMs
    //   Starting, Listening, Stopping ──the program ends──▶ Idle, ended()
    //
    // start() acts in Idle only (a program that cannot be started leaves the
    // session Idle), stop() in Starting and Listening only.
    enum State { Idle, Starting, Listening, Stopping };
    Q_ENUM(State)

    // How a listening ended.
    struct outcome
    {
        bool stopped = false; // stop() asked for the end
        bool killed = false; // it did not end within StopGraceMs and was killed
        int exitCode = 0; // when it exited
        int signal = 0; // the signal that ended it; 0 when it exited
        QString messages; // what it wrote on standard error but its listening line
        // It ended as it should: asked to, with status 0.
        bool ok() const { return signal == 0 && exitCode == 0; }
    };

    // program is the path of qelDrvMonitor.
    explicit monitorSession(const QString &program, QObject *parent = nullptr);
    // Ends a monitor that still runs, waiting at most StopGraceMs for it to
    // put its line back, and kills it after that.
    ~monitorSession() override;

    State state() const { return current; }
    bool isRunning() const { return current != Idle; }
    // Starts listening to line; false, with errorString(), when the program
    // could not be started.
    bool start(const monitorLine &line);
    // Asks the monitor to end; its summary follows on standard error.
    void stop();

    QString errorString() const { return error; }
    QString program() const { return path; }
    // The child's process id while it runs; 0 otherwise.
    qint64 processId() const;

signals:
    void stateChanged(monitorSession::State state);
    // The monitor listens: its line, "Listening on /dev/ttyUSB0, ...".
    void listening(const QString &line);
    void transactionsRead(const QVector<monitorTransaction> &transactions);
    // A line of the monitor's standard error other than its listening line:
    // an error, a line of its summary, or a note of this session.
    void messageWritten(const QString &line);
    void ended(const monitorSession::outcome &how);

private:
    void setState(State state);
    void readOutput();
    void readErrors();
    void takeErrorLine(const QString &line);
    void finished(int exitCode, bool crashed);
    void killAfterGrace();

    // The longest line of standard error taken as it is, and the most of it
    // an outcome keeps.
    static constexpr int MaxErrorLineBytes = 4096;
    static constexpr int MaxMessageChars = 64 * 1024;

    const QString path;
    State current = Idle;
    std::unique_ptr<childProcess> process;
    monitorOutputReader reader;
    bool headerChecked = false;
    QByteArray errorBytes; // standard error not yet ended by a line feed
    QString error;
    outcome result;
    QTimer graceTimer;
};

Q_DECLARE_METATYPE(monitorSession::outcome)
