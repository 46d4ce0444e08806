#include "driverrunner.h"

#include "drivercommand.h"
#include "driverlocation.h"
#include "driveroutput.h"
#include "exe.h"
#include "knowncauses.h"
#include "loglines.h"
#include "projectelement.h"
#include "runstatistics.h"
#include "servingdriver.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>

#include <cstring>

driverRunner::driverRunner(QActionGroup *runCommands, runStatistics *statistics, QObject *parent)
    : QObject(parent)
    , runCommands(runCommands)
    , statistics(statistics)
{ }

QString driverRunner::busyText()
{
    return tr("Not run: another request is running");
}

bool driverRunner::begin()
{
    if (state != Idle)
        return false;
    state = Running;
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
    state = Idle;
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
    const QString program = driverLocation(command.program);
    const QString commandLine
        = QDir::toNativeSeparators(program) + QLatin1Char(' ') + command.text();
    if (command.keepLineOpen)
        return runServed(command, before, commandLine);
    AppExe::exe process(program, command.arguments, true, command.silenceLimitMs());
    if (!before.isEmpty())
        emit logged(before);
    current = &process;
    state = Waiting;
    process.wait();
    current = nullptr;
    return ended({process.outText, process.errText, process.done, process.startError,
                     process.result, process.signal, process.timeoutMs},
        command.program, commandLine);
}

driverRunner::driverRun driverRunner::ended(
    const driverEnd &how, const QString &program, const QString &commandLine)
{
    // A wait that returns before the end means the event loop is quitting
    // (the window was closed): the run counts as failed. The runner kills
    // the driver on destruction.
    if (state == Waiting)
        state = how.done ? Running : Closing;
    driverRun ran;
    ran.commandLine = commandLine;
    ran.ended = how.done;
    ran.code = how.result;
    ran.out = how.outText;
    ran.err = how.errText;
    if (!ran.ok())
        ran.cause = failureCause(how, program);
    return ran;
}

driverRunner::driverRun driverRunner::runServed(
    const driverCommand &command, const QString &before, const QString &commandLine)
{
    servingDriver *server = serverFor(command);
    if (!before.isEmpty())
        emit logged(before);
    currentServer = server;
    state = Waiting;
    const servingDriver::outcome answer
        = server->request(command.requestArguments(), command.silenceLimitMs());
    currentServer = nullptr;
    if (endServerAfterRequest) {
        endServerAfterRequest = false;
        servers.removeOne(server);
        delete server;
    }
    return ended({answer.outText, answer.errText, answer.done, answer.startError, answer.result,
                     answer.signal, command.silenceLimitMs()},
        command.program, commandLine);
}

servingDriver *driverRunner::serverFor(const driverCommand &command)
{
    const QString program = driverLocation(command.program);
    const QStringList portArguments = command.portArguments();
    endServers(&portArguments, command.serialLine ? program : QString());
    for (servingDriver *server : qAsConst(servers)) {
        if (server->program() == program)
            return server;
    }
    servers << new servingDriver(program, portArguments, this);
    return servers.last();
}

void driverRunner::endServers(const QStringList *portArguments, const QString &program)
{
    for (int i = servers.size() - 1; i >= 0; --i) {
        servingDriver *server = servers.at(i);
        const bool kept = portArguments && server->portArguments() == *portArguments
            && (program.isEmpty() || server->program() == program);
        if (kept)
            continue;
        if (server == currentServer) {
            server->stop();
            endServerAfterRequest = true;
            continue;
        }
        servers.removeAt(i);
        delete server;
    }
}

void driverRunner::keepServersFor(const std::optional<portValues> &port)
{
    if (!port || !port->keepOpen) {
        endServers(nullptr);
        return;
    }
    const QStringList portArguments = port->arguments();
    endServers(&portArguments);
}

int driverRunner::serverCount() const
{
    int running = 0;
    for (const servingDriver *server : servers)
        running += server->isRunning() ? 1 : 0;
    return running;
}

// The driver prints the cause of a failure as the last line on its standard
// error; a driver that said nothing could not be started, was ended for its
// silence or by a signal, or ended with a status alone.
QString driverRunner::failureCause(const driverEnd &process, const QString &program) const
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
        return tr("stopped; %n more not run", nullptr, following);
    if (process.result == AppExe::exe::TimeoutResult)
        return tr("%1 wrote nothing for %2 ms and was ended").arg(program).arg(process.timeoutMs);
    if (process.signal > 0)
        return tr("the driver was ended by signal %1 (%2)")
            .arg(process.signal)
            .arg(QString::fromLocal8Bit(strsignal(process.signal)));
    return tr("the driver ended with status %1").arg(process.result);
}

QString driverRunner::driverRun::status() const
{
    return ok() ? logLines::status(true) : logLines::failed(knownCauses::translated(cause));
}

void driverRunner::logEnd(const QString &time, const driverRun &run, bool trace)
{
    emit logged(run.status());
    if (!run.refusal.isEmpty()) {
        emit logged(logLines::refused(time, run.refusal));
        return;
    }
    if (!trace)
        return;
    emit logged(logLines::commandLine(run.commandLine));
    // A driver that failed before it sent a frame has none to show.
    const QString sent = driverOutput::sentFrame(run.out);
    if (run.ok() || !sent.isEmpty()) {
        emit logged(logLines::tx(sent));
        emit logged(logLines::rx(driverOutput::receivedFrame(run.out)));
    }
    for (const QString &line : run.err.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            emit logged(logLines::driverText(line.trimmed()));
    }
}

bool driverRunner::stop()
{
    if (state != Waiting)
        return false;
    state = Stopping;
    if (current)
        current->abort();
    else if (currentServer)
        currentServer->stop();
    return true;
}

driverRunner::result driverRunner::read(
    const std::optional<portValues> &port, const readValues &request)
{
    const bool trace = verbose;
    const driverRun run = this->run(driverCommand::read(port, request, trace), QString());
    result outcome;
    outcome.ok = run.ok();
    if (outcome.ok) {
        outcome.value = driverOutput::readValue(run.out, trace);
        outcome.shown = request.shown(outcome.value);
    } else {
        outcome.value = outcome.shown = QStringLiteral("?");
    }
    const QString time = logLines::timeText();
    outcome.cause = run.cause.isEmpty() ? run.refusal : run.cause;
    emit logged(logLines::read(time, request.type, request.addr,
        outcome.ok ? request.logged(outcome.value) : outcome.value));
    logEnd(time, run, trace);
    return outcome;
}

driverRunner::result driverRunner::write(
    const std::optional<portValues> &port, const writeValues &request, bool withVerbose)
{
    const bool trace = withVerbose && verbose;
    const QString time = logLines::timeText();
    const driverRun run = this->run(driverCommand::write(port, request, trace),
        logLines::write(time, request.type, request.addr, request.shown()));
    logEnd(time, run, trace);
    result outcome;
    outcome.ok = run.ok();
    outcome.value = request.value;
    outcome.cause = run.cause.isEmpty() ? run.refusal : run.cause;
    return outcome;
}

driverRunner::result driverRunner::macro(
    const std::optional<portValues> &port, const macroValues &request, bool withVerbose)
{
    const bool trace = withVerbose && verbose;
    const QString time = logLines::timeText();
    const driverRun run = this->run(
        driverCommand::macro(port, request, trace), logLines::macro(time, request.name));
    logEnd(time, run, trace);
    result outcome;
    outcome.ok = run.ok();
    outcome.value = request.param;
    outcome.cause = run.cause.isEmpty() ? run.refusal : run.cause;
    return outcome;
}

void driverRunner::runRows(
    const std::optional<portValues> &port, const QList<projectElement *> &rows)
{
    if (rows.isEmpty() || !begin())
        return;
    const QList<QPointer<projectElement>> elements(rows.cbegin(), rows.cend());
    for (int i = 0; i < elements.size() && state == Running; ++i) {
        following = elements.size() - i - 1;
        if (statistics && elements.size() > 1)
            statistics->progress(i, elements.size());
        if (!elements.at(i))
            continue;
        const std::optional<result> outcome = runRequest(port, elements.at(i)->values(), true);
        // A stopped request has no result: not shown, not counted.
        if (!outcome || state == Stopping)
            continue;
        if (elements.at(i))
            showResult(elements.at(i), *outcome);
        if (statistics)
            statistics->count(outcome->ok);
        QCoreApplication::processEvents();
    }
    end();
}

std::optional<driverRunner::result> driverRunner::runRequest(
    const std::optional<portValues> &port, const rowValues &values, bool withVerbose)
{
    if (const auto *request = std::get_if<readValues>(&values))
        return read(port, *request);
    if (const auto *request = std::get_if<writeValues>(&values))
        return write(port, *request, withVerbose);
    if (const auto *request = std::get_if<macroValues>(&values))
        return macro(port, *request, withVerbose);
    return std::nullopt;
}

void driverRunner::showResult(projectElement *row, const result &outcome)
{
    row->showResult(outcome.ok, outcome.shown, knownCauses::translated(outcome.cause));
    row->setExeRequested(false);
    emit rowFinished(
        row, QDateTime::currentDateTime(), outcome.value, outcome.shown, outcome.ok, outcome.cause);
}

bool driverRunner::writeNow(const std::optional<portValues> &port, const writeValues &request)
{
    return runNow(port, request);
}

bool driverRunner::macroNow(const std::optional<portValues> &port, const macroValues &request)
{
    return runNow(port, request);
}

bool driverRunner::runNow(const std::optional<portValues> &port, const rowValues &request)
{
    if (!begin()) {
        emit logged(logLines::refused(logLines::timeText(), busyText()));
        return false;
    }
    const result outcome = runRequest(port, request, false).value_or(result());
    end();
    emit immediateFinished(request, QDateTime::currentDateTime(), outcome.ok, outcome.cause);
    return outcome.ok;
}
