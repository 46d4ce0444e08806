#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QActionGroup;
namespace AppExe {
class exe;
}
class driverCommand;
class projectElement;
struct elementRequest;
class runStatistics;

// Runs the project's requests through the drivers, one after another on the
// GUI thread: builds each command line from the active port and the request,
// starts the driver and waits for it (the event loop keeps running), logs the
// request and its status, shows the result in the row and counts it. One run
// operation at a time: while one runs, `busy` is set, the "Commands" menu is
// disabled and another operation returns at once.
class driverRunner : public QObject
{
    Q_OBJECT

public:
    // The time-out of silence after which a driver is killed.
    static constexpr int DriverTimeoutMs = 2000;

    struct result
    {
        bool ok = false;
        QString value; // a read's raw text, "?" after a failure; a write's value
        QString shown; // a read's text for the row: value by its format, or "?"
        QString cause; // why it failed, empty on success
    };

    // activePort gives the port part of the active port's arguments, read
    // anew for every request; runCommands (the commands that start runs)
    // are disabled during a run
    // operation; statistics counts the requests of the run operations.
    driverRunner(std::function<QStringList()> activePort, QActionGroup *runCommands,
        runStatistics *statistics, QObject *parent = nullptr);

    bool isBusy() const { return busy; }
    bool isVerbose() const { return verbose; }
    void setVerbose(bool on) { verbose = on; }

    // The run operation: each request row in list order, its result shown in
    // the row and counted in the statistics, its run request cleared. A row
    // deleted meanwhile is skipped. Nothing happens when the list is empty or
    // a run is going on.
    void runRows(const QList<projectElement *> &rows);

    // The immediate commands: one write or one macro, without the verbose
    // option and not counted. Returns whether the driver succeeded; false
    // without a run when another run is going on.
    bool writeNow(const QString &type, const QString &addr, const QString &value);
    bool macroNow(const QString &name, const QString &param);

    // Ends the running driver at once and skips the rest of the operation;
    // the stopped request's line says so. Returns whether a driver ran.
    bool stop();

    // The request texts of the user interface.
    static QString busyText();

signals:
    // An HTML fragment for the log.
    void logged(const QString &html);
    // A row's request has ended at time: the raw value (a read's text, a
    // write's value), the text shown in the row, whether it succeeded and
    // why it failed. This is where every result of a run becomes known.
    void rowFinished(projectElement *row, const QDateTime &time, const QString &value,
        const QString &shown, bool ok, const QString &cause);
    // An immediate command (a write or a macro without a row) has ended.
    void immediateFinished(
        const elementRequest &request, const QDateTime &time, bool ok, const QString &cause);

private:
    struct driverRun
    {
        bool ended = false; // the driver ended or was killed (not interrupted)
        bool stopped = false; // ended by stop()
        int code = -1;
        QString out;
        QString refusal; // why the command was not started
        QString cause; // why it failed: the driver's last line on standard error, or ours
        bool ok() const { return ended && code == 0; }
        // The status fragment that ends the request's log line.
        QString status() const;
    };

    QString failureCause(const AppExe::exe &process) const;
    bool begin();
    void end();
    // Runs a command to its end. before is logged once the driver has been
    // started (or refused) and before the wait.
    driverRun run(const driverCommand &command, const QString &before);

    // Single requests with their log lines.
    result read(const QString &type, const QString &addr, const QString &format);
    result write(const QString &type, const QString &addr, const QString &value, bool withVerbose);
    result macro(const QString &name, const QString &param, bool withVerbose);

    std::function<QStringList()> activePort;
    QActionGroup *runCommands;
    AppExe::exe *current = nullptr; // the driver being waited for
    bool stopRequested = false;
    int remaining = 0; // requests of the operation after the current one
    runStatistics *statistics;
    bool busy = false;
    bool verbose = false;
    bool interrupted = false; // the event loop was told to quit during a wait
};
