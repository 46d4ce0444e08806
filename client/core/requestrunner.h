#pragma once

#include "drivercommand.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class macroElement;
class readElement;
class runStatistics;
class writeElement;

// Runs requests through the drivers, one after another on the GUI thread:
// builds each command line from the active port and the request, starts the
// driver and waits for it (the event loop keeps running), logs the request
// and its status, shows read values and counts the results. One run
// operation at a time: while one runs, `busy` is set, the "Commands" menu is
// disabled and another operation returns at once.
class requestRunner : public QObject
{
    Q_OBJECT

public:
    // The time-out of silence after which a driver is killed.
    static constexpr int DriverTimeoutMs = 2000;

    struct readResult
    {
        bool ok = false;
        QString value; // the raw text read, "?" after a failure
        QString shown; // the text for the row: value by its format, or "?"
    };

    // activePort gives the port part of the active port, read anew for every
    // request; commandsMenu is disabled during a run operation; statistics
    // counts the requests of the run operations.
    requestRunner(std::function<driverPort()> activePort, QWidget *commandsMenu,
        runStatistics *statistics, QObject *parent = nullptr);

    bool isBusy() const { return busy; }
    bool isVerbose() const { return verbose; }
    void setVerbose(bool on) { verbose = on; }

    // The run operations: each element in list order, counted in the
    // statistics, its run request cleared. An element deleted meanwhile is
    // skipped. Nothing happens when the list is empty or a run is going on.
    void runReads(const QList<readElement *> &list);
    void runWrites(const QList<writeElement *> &list);
    void runMacros(const QList<macroElement *> &list);

    // The immediate commands: one write or one macro, without the verbose
    // option and not counted. Returns whether the driver succeeded; false
    // without a run when another run is going on.
    bool writeNow(const QString &type, const QString &addr, const QString &value);
    bool macroNow(const QString &name, const QString &param);

    // Single requests with their log lines.
    readResult read(const QString &type, const QString &addr, const QString &format);
    bool write(const QString &type, const QString &addr, const QString &value, bool withVerbose);
    bool macro(const QString &name, const QString &param, bool withVerbose);

    // The request texts of the user interface.
    static QString busyText();

signals:
    // An HTML fragment for the log.
    void logged(const QString &html);

private:
    struct driverRun
    {
        bool ended = false; // the driver ended or was killed (not interrupted)
        int code = -1;
        QString out;
        QString refusal; // why the command was not started
        bool ok() const { return ended && code == 0; }
    };

    bool begin();
    void end();
    // Runs a command to its end. before is logged once the driver has been
    // started (or refused) and before the wait.
    driverRun run(const driverCommand &command, const QString &before);

    std::function<driverPort()> activePort;
    QWidget *commandsMenu;
    runStatistics *statistics;
    bool busy = false;
    bool verbose = false;
    bool interrupted = false; // the event loop was told to quit during a wait
};
