#include "driverrunner.h"

#include "drivercommand.h"
#include "driverlocation.h"
#include "driveroutput.h"
#include "exe.h"
#include "loglines.h"
#include "projectelement.h"
#include "readformat.h"
#include "runstatistics.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QPointer>

#include <cstring>

driverRunner::driverRunner(std::function<QStringList()> activePort, QActionGroup *runCommands,
    runStatistics *statistics, QObject *parent)
    : QObject(parent)
    , activePort(std::move(activePort))
    , runCommands(runCommands)
    , statistics(statistics)
{ }

QString driverRunner::busyText()
{
    return tr("Not run: another request is running");
}

bool driverRunner::begin()
{
    if (busy)
        return false;
    busy = true;
    interrupted = false;
    stopRequested = false;
    if (runCommands)
        runCommands->setEnabled(false);
    return true;
}

void driverRunner::end()
{
    if (runCommands)
        runCommands->setEnabled(true);
    if (statistics)
        statistics->progress(0, 0);
    busy = false;
}

driverRunner::driverRun driverRunner::run(const driverCommand &command, const QString &before)
{
    driverRun ran;
    ran.refusal = command.problem();
    if (!ran.refusal.isEmpty()) {
        if (!before.isEmpty())
            emit logged(before);
        return ran;
    }
    AppExe::exe process(driverLocation(command.program), command.text(), true, DriverTimeoutMs);
    if (!before.isEmpty())
        emit logged(before);
    current = &process;
    process.wait();
    current = nullptr;
    ran.stopped = stopRequested;
    // A wait that returns before the end means the event loop is quitting
    // (the window was closed): the run counts as failed, and the operation
    // starts no further driver. The runner kills the driver on destruction.
    ran.ended = process.done;
    if (!process.done)
        interrupted = true;
    ran.code = process.result;
    ran.out = process.outText;
    if (!ran.ok())
        ran.cause = failureCause(process);
    return ran;
}

// The driver prints the cause of a failure as the last line on its standard
// error; a driver that said nothing could not be started, was killed for its
// silence or by a signal, or ended with a status alone.
QString driverRunner::failureCause(const AppExe::exe &process) const
{
    const QStringList lines = process.errText.split(QLatin1Char('\n'));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString text = line->trimmed();
        if (!text.isEmpty())
            return text;
    }
    if (!process.done)
        return tr("the client is closing");
    if (!process.startError.isEmpty())
        return tr("the driver could not be started: %1").arg(process.startError);
    if (process.result == AppExe::exe::StoppedResult)
        return tr("stopped; %n more not run", nullptr, remaining);
    if (process.result == AppExe::exe::TimeoutResult)
        return tr("the driver did not answer within %1 ms").arg(DriverTimeoutMs);
    if (process.signal > 0)
        return tr("the driver was ended by signal %1 (%2)")
            .arg(process.signal)
            .arg(QString::fromLocal8Bit(strsignal(process.signal)));
    return tr("the driver ended with status %1").arg(process.result);
}

QString driverRunner::driverRun::status() const
{
    return ok() ? logLines::status(true) : logLines::failed(cause);
}

bool driverRunner::stop()
{
    if (!current)
        return false;
    stopRequested = true;
    current->abort();
    return true;
}

driverRunner::result driverRunner::read(
    const QString &type, const QString &addr, const QString &format)
{
    const bool trace = verbose;
    const driverRun run
        = this->run(driverCommand::read(activePort(), type, addr, trace), QString());
    result outcome;
    outcome.ok = run.ok();
    if (outcome.ok) {
        outcome.value = driverOutput::readValue(run.out, trace);
        outcome.shown = formatReadValue(outcome.value, format);
    } else {
        outcome.value = outcome.shown = QStringLiteral("?");
    }
    const QString time = logLines::timeText();
    outcome.cause = run.cause.isEmpty() ? run.refusal : run.cause;
    emit logged(logLines::read(time, type, addr, outcome.value));
    emit logged(run.status());
    if (!run.refusal.isEmpty())
        emit logged(logLines::refused(time, run.refusal));
    if (outcome.ok && trace) {
        emit logged(logLines::tx(driverOutput::sentFrame(run.out)));
        emit logged(logLines::rx(driverOutput::receivedFrame(run.out)));
    }
    return outcome;
}

driverRunner::result driverRunner::write(
    const QString &type, const QString &addr, const QString &value, bool withVerbose)
{
    const bool trace = withVerbose && verbose;
    const QString time = logLines::timeText();
    const driverRun run = this->run(driverCommand::write(activePort(), type, addr, value, trace),
        logLines::write(time, type, addr, value));
    emit logged(run.status());
    if (!run.refusal.isEmpty())
        emit logged(logLines::refused(time, run.refusal));
    result outcome;
    outcome.ok = run.ok();
    outcome.value = value;
    outcome.cause = run.cause.isEmpty() ? run.refusal : run.cause;
    return outcome;
}

driverRunner::result driverRunner::macro(
    const QString &name, const QString &param, bool withVerbose)
{
    const bool trace = withVerbose && verbose;
    const QString time = logLines::timeText();
    const driverRun run = this->run(
        driverCommand::macro(activePort(), name, param, trace), logLines::macro(time, name));
    emit logged(run.status());
    if (!run.refusal.isEmpty()) {
        emit logged(logLines::refused(time, run.refusal));
    } else if (trace) {
        emit logged(logLines::tx(driverOutput::sentFrame(run.out)));
        emit logged(logLines::rx(driverOutput::receivedFrame(run.out)));
    }
    result outcome;
    outcome.ok = run.ok();
    outcome.value = param;
    outcome.cause = run.cause.isEmpty() ? run.refusal : run.cause;
    return outcome;
}

void driverRunner::runRows(const QList<projectElement *> &rows)
{
    if (rows.isEmpty() || !begin())
        return;
    const QList<QPointer<projectElement>> elements(rows.cbegin(), rows.cend());
    for (int i = 0; i < elements.size(); ++i) {
        const QPointer<projectElement> &element = elements.at(i);
        if (interrupted || stopRequested)
            break;
        remaining = elements.size() - i - 1;
        if (statistics && elements.size() > 1)
            statistics->progress(i, elements.size());
        if (!element)
            continue;
        const elementRequest request = element->request();
        result outcome;
        switch (request.kind) {
        case elementRequest::Read:
            outcome = read(request.type, request.addr, request.format);
            break;
        case elementRequest::Write:
            outcome = write(request.type, request.addr, request.value, true);
            break;
        case elementRequest::Macro:
            outcome = macro(request.name, request.param, true);
            break;
        case elementRequest::None:
            continue;
        }
        // A stopped request has no result: not shown, not counted.
        if (stopRequested)
            break;
        if (element) {
            element->showResult(outcome.ok, outcome.shown, outcome.cause);
            element->setExeRequested(false);
            emit rowFinished(element, QDateTime::currentDateTime(), outcome.value, outcome.shown,
                outcome.ok, outcome.cause);
        }
        if (statistics)
            statistics->count(outcome.ok);
        QCoreApplication::processEvents();
    }
    end();
}

bool driverRunner::writeNow(const QString &type, const QString &addr, const QString &value)
{
    if (!begin()) {
        emit logged(logLines::refused(logLines::timeText(), busyText()));
        return false;
    }
    const result outcome = write(type, addr, value, false);
    end();
    emit immediateFinished(elementRequest::write(type, addr, value), QDateTime::currentDateTime(),
        outcome.ok, outcome.cause);
    return outcome.ok;
}

bool driverRunner::macroNow(const QString &name, const QString &param)
{
    if (!begin()) {
        emit logged(logLines::refused(logLines::timeText(), busyText()));
        return false;
    }
    const result outcome = macro(name, param, false);
    end();
    emit immediateFinished(elementRequest::macro(name, param), QDateTime::currentDateTime(),
        outcome.ok, outcome.cause);
    return outcome.ok;
}
