#pragma once

#include "rowvalues.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QActionGroup;
namespace AppExe {
class exe;
}
class driverCommand;
class projectElement;
class runStatistics;
class servingDriver;

// Runs the project's requests through the drivers, one after another on the
// GUI thread: builds each command from the port and the request it is
// handed, starts the driver and waits for it (the event loop keeps running),
// logs the request and its status, shows the result in the row and counts
// it. One operation at a time: while one runs, the commands that start runs
// are disabled and another operation returns at once.
//
// A port that keeps its line open has its requests carried by serving
// drivers ("--serve"), one per driver program, started at their first
// request and kept from request to request; their requests are logged and
// shown as those of one-shot runs are. A serial line is held by one of
// them at a time: the other's is ended before the line is needed.
class driverRunner : public QObject
{
    Q_OBJECT

public:
    struct result
    {
        bool ok = false;
        QString value; // a read's raw text, "?" after a failure; a write's value
        QString shown; // a read's text for the row: value by its format, or "?"
        QString cause; // why it failed, in the driver's words; empty on success
    };

    // runCommands (the commands that start runs) are disabled during an
    // operation; statistics counts the requests of runRows().
    driverRunner(QActionGroup *runCommands, runStatistics *statistics, QObject *parent = nullptr);

    bool isBusy() const { return state != Idle; }
    bool isVerbose() const { return verbose; }
    void setVerbose(bool on) { verbose = on; }

    // Runs each request row over port (none: the drivers get no port
    // options), in list order: its result shown in the row and counted in
    // the statistics, its run request cleared. A row deleted meanwhile is
    // skipped. Nothing happens when the list is empty or an operation is
    // going on.
    void runRows(const std::optional<portValues> &port, const QList<projectElement *> &rows);

    // The immediate commands: one write or one macro over port, without the
    // verbose option and not counted. Returns whether the driver succeeded;
    // false without a run while another operation is going on.
    bool writeNow(const std::optional<portValues> &port, const writeValues &request);
    bool macroNow(const std::optional<portValues> &port, const macroValues &request);

    // Ends the running driver at once and skips the rest of the operation;
    // the stopped request's line says so. Returns whether a driver ran.
    bool stop();

    // Ends the serving drivers that port no longer uses: all of them when
    // there is no port or it does not keep its line open, those of another
    // port (or of the port before an edit) otherwise. A driver whose
    // request is under way is ended once the request has ended.
    void keepServersFor(const std::optional<portValues> &port);
    // The serving drivers running now.
    int serverCount() const;

    // The request texts of the user interface.
    static QString busyText();

signals:
    // An HTML fragment for the log.
    void logged(const QString &html);
    // A row's request has ended at time: the raw value (a read's text, a
    // write's value), the text shown in the row, whether it succeeded and
    // why it failed (in the driver's words; the row and the log show it in
    // the interface's language). This is where every result of a run
    // becomes known.
    void rowFinished(projectElement *row, const QDateTime &time, const QString &value,
        const QString &shown, bool ok, const QString &cause);
    // An immediate command (a write or a macro without a row) has ended.
    void immediateFinished(
        const rowValues &request, const QDateTime &time, bool ok, const QString &cause);

private:
    // The runner's state. One operation (runRows, writeNow, macroNow) at a
    // time; its requests run one after another:
    //
    //   Idle ──begin()──▶ Running ──run() starts a driver──▶ Waiting
    //   Waiting ──the driver ends (or is killed for its silence)──▶ Running
    //   Waiting ──stop()──▶ Stopping: the driver is killed, and the request
    //       and the rest of the operation are dropped
    //   Waiting ──the event loop quits (the window closes)──▶ Closing: the
    //       request fails, and the rest of the operation is dropped
    //   Running, Stopping, Closing ──end()──▶ Idle
    //
    // begin() acts in Idle only and stop() in Waiting only; isBusy() is any
    // state but Idle. current is the driver waited for in Waiting and
    // Stopping.
    enum State { Idle, Running, Waiting, Stopping, Closing };

    struct driverRun
    {
        bool ended = false; // the driver ended or was killed (not interrupted)
        int code = -1;
        QString commandLine; // the driver's path and its command line
        QString out;
        QString err;
        QString refusal; // why the command was not started
        QString cause; // why it failed: the driver's last line on standard error, or ours
        bool ok() const { return ended && code == 0; }
        // The status fragment that ends the request's log line, with the
        // cause in the interface's language.
        QString status() const;
    };

    // How a driver's run ended, for its cause.
    struct driverEnd
    {
        QString outText;
        QString errText;
        bool done = false;
        QString startError;
        int result = 0;
        int signal = 0;
        int timeoutMs = 0; // the silence after which the client ended the driver
    };

    bool begin();
    void end();
    // Runs a command to its end. before is logged once the driver has been
    // started (or refused) and before the wait.
    driverRun run(const driverCommand &command, const QString &before);
    // The same, by the serving driver of the command's program and port.
    driverRun runServed(
        const driverCommand &command, const QString &before, const QString &commandLine);
    // The serving driver for command, after ending those that must not
    // hold the line beside it.
    servingDriver *serverFor(const driverCommand &command);
    // Ends the serving drivers whose port arguments are not portArguments
    // (all when it is null), and, with program, the others of the same line.
    void endServers(const QStringList *portArguments, const QString &program = QString());
    // The run of program's driver, on commandLine, that has ended as how
    // says; the runner's state follows it.
    driverRun ended(const driverEnd &how, const QString &program, const QString &commandLine);
    QString failureCause(const driverEnd &how, const QString &program) const;
    // Ends a request's log: its status, the line of a command that was not
    // run, and with trace on what verbose mode shows of the driver's run:
    // its command line, the frames sent and received, and what it said on
    // standard error, in its own words.
    void logEnd(const QString &time, const driverRun &run, bool trace);

    // One request by its kind; nothing for values that are no request. The
    // trace of verbose mode comes with a write or a macro only withVerbose.
    std::optional<result> runRequest(
        const std::optional<portValues> &port, const rowValues &values, bool withVerbose);
    // An immediate command: one request without a row, not counted.
    bool runNow(const std::optional<portValues> &port, const rowValues &request);
    // Shows a request's result in its row and tells who records results.
    void showResult(projectElement *row, const result &outcome);

    // The requests of each kind with their log lines.
    result read(const std::optional<portValues> &port, const readValues &request);
    result write(
        const std::optional<portValues> &port, const writeValues &request, bool withVerbose);
    result macro(
        const std::optional<portValues> &port, const macroValues &request, bool withVerbose);

    QActionGroup *runCommands;
    runStatistics *statistics;
    State state = Idle;
    AppExe::exe *current = nullptr;
    servingDriver *currentServer = nullptr; // the serving driver waited for
    QList<servingDriver *> servers; // owned
    bool endServerAfterRequest = false; // currentServer is to go once its request ends
    int following = 0; // requests of the operation after the running one, for a stop's cause
    bool verbose = false;
};
