#include "requestrunner.h"

#include "driverlocation.h"
#include "driveroutput.h"
#include "exe.h"
#include "loglines.h"
#include "macroelement.h"
#include "readelement.h"
#include "readformat.h"
#include "runstatistics.h"
#include "writeelement.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

requestRunner::requestRunner(std::function<driverPort()> activePort, QWidget *commandsMenu,
    runStatistics *statistics, QObject *parent)
    : QObject(parent)
    , activePort(std::move(activePort))
    , commandsMenu(commandsMenu)
    , statistics(statistics)
{ }

QString requestRunner::busyText()
{
    return tr("Not run: another request is running");
}

bool requestRunner::begin()
{
    if (busy)
        return false;
    busy = true;
    interrupted = false;
    if (commandsMenu)
        commandsMenu->setEnabled(false);
    return true;
}

void requestRunner::end()
{
    if (commandsMenu)
        commandsMenu->setEnabled(true);
    busy = false;
}

requestRunner::driverRun requestRunner::run(const driverCommand &command, const QString &before)
{
    driverRun result;
    result.refusal = command.problem();
    if (!result.refusal.isEmpty()) {
        if (!before.isEmpty())
            emit logged(before);
        return result;
    }
    AppExe::exe process(driverLocation(command.program), command.arguments, true, DriverTimeoutMs);
    if (!before.isEmpty())
        emit logged(before);
    process.wait();
    // A wait that returns before the end means the event loop is quitting
    // (the window was closed): the run counts as failed, and the operation
    // starts no further driver. The runner kills the driver on destruction.
    result.ended = process.done;
    if (!process.done)
        interrupted = true;
    result.code = process.result;
    result.out = process.outText;
    return result;
}

requestRunner::readResult requestRunner::read(
    const QString &type, const QString &addr, const QString &format)
{
    const bool trace = verbose;
    const driverRun run
        = this->run(driverCommand::read(activePort(), type, addr, trace), QString());
    readResult result;
    result.ok = run.ok();
    if (result.ok) {
        result.value = driverOutput::readValue(run.out, trace);
        result.shown = formatReadValue(result.value, format);
    } else {
        result.value = result.shown = QStringLiteral("?");
    }
    const QString time = logLines::timeText();
    emit logged(logLines::read(time, type, addr, result.value));
    emit logged(logLines::status(result.ok));
    if (!run.refusal.isEmpty())
        emit logged(logLines::refused(time, run.refusal));
    if (result.ok && trace) {
        emit logged(logLines::tx(driverOutput::sentFrame(run.out)));
        emit logged(logLines::rx(driverOutput::receivedFrame(run.out)));
    }
    return result;
}

bool requestRunner::write(
    const QString &type, const QString &addr, const QString &value, bool withVerbose)
{
    const bool trace = withVerbose && verbose;
    const QString time = logLines::timeText();
    const driverRun run = this->run(driverCommand::write(activePort(), type, addr, value, trace),
        logLines::write(time, type, addr, value));
    emit logged(logLines::status(run.ok()));
    if (!run.refusal.isEmpty())
        emit logged(logLines::refused(time, run.refusal));
    return run.ok();
}

bool requestRunner::macro(const QString &name, const QString &param, bool withVerbose)
{
    const bool trace = withVerbose && verbose;
    const QString time = logLines::timeText();
    const driverRun run = this->run(
        driverCommand::macro(activePort(), name, param, trace), logLines::macro(time, name));
    emit logged(logLines::status(run.ok()));
    if (!run.refusal.isEmpty()) {
        emit logged(logLines::refused(time, run.refusal));
    } else if (trace) {
        emit logged(logLines::tx(driverOutput::sentFrame(run.out)));
        emit logged(logLines::rx(driverOutput::receivedFrame(run.out)));
    }
    return run.ok();
}

void requestRunner::runReads(const QList<readElement *> &list)
{
    if (list.isEmpty() || !begin())
        return;
    const QList<QPointer<readElement>> elements(list.cbegin(), list.cend());
    for (const QPointer<readElement> &element : elements) {
        if (interrupted)
            break;
        if (!element)
            continue;
        const readResult result = read(element->type(), element->addr(), element->format());
        if (element) {
            element->setValue(result.shown);
            element->setExeRequested(false);
        }
        if (statistics)
            statistics->count(result.ok);
        QCoreApplication::processEvents();
    }
    end();
}

void requestRunner::runWrites(const QList<writeElement *> &list)
{
    if (list.isEmpty() || !begin())
        return;
    const QList<QPointer<writeElement>> elements(list.cbegin(), list.cend());
    for (const QPointer<writeElement> &element : elements) {
        if (interrupted)
            break;
        if (!element)
            continue;
        const bool ok = write(element->type(), element->addr(), element->value(), true);
        if (element)
            element->setExeRequested(false);
        if (statistics)
            statistics->count(ok);
        QCoreApplication::processEvents();
    }
    end();
}

void requestRunner::runMacros(const QList<macroElement *> &list)
{
    if (list.isEmpty() || !begin())
        return;
    const QList<QPointer<macroElement>> elements(list.cbegin(), list.cend());
    for (const QPointer<macroElement> &element : elements) {
        if (interrupted)
            break;
        if (!element)
            continue;
        const bool ok = macro(element->macro(), element->param(), true);
        if (element)
            element->setExeRequested(false);
        if (statistics)
            statistics->count(ok);
        QCoreApplication::processEvents();
    }
    end();
}

bool requestRunner::writeNow(const QString &type, const QString &addr, const QString &value)
{
    if (!begin()) {
        emit logged(logLines::refused(logLines::timeText(), busyText()));
        return false;
    }
    const bool ok = write(type, addr, value, false);
    end();
    return ok;
}

bool requestRunner::macroNow(const QString &name, const QString &param)
{
    if (!begin()) {
        emit logged(logLines::refused(logLines::timeText(), busyText()));
        return false;
    }
    const bool ok = macro(name, param, false);
    end();
    return ok;
}
