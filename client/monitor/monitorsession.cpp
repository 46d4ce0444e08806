#include "monitorsession.h"

#include "childprocess.h"

monitorSession::monitorSession(const QString &program, QObject *parent)
    : QObject(parent)
    , path(program)
{
    qRegisterMetaType<monitorSession::outcome>();
    qRegisterMetaType<monitorSession::State>();
    graceTimer.setSingleShot(true);
    graceTimer.setInterval(StopGraceMs);
    connect(&graceTimer, &QTimer::timeout, this, &monitorSession::killAfterGrace);
}

monitorSession::~monitorSession()
{
    if (!process)
        return;
    // The session goes with the window: nothing is told any more.
    process->disconnect(this);
    if (process->isRunning()) {
        process->terminate();
        process->waitForFinished(StopGraceMs);
    }
    // Kills and reaps a monitor that is still there.
    process.reset();
}

qint64 monitorSession::processId() const
{
    return process ? process->processId() : 0;
}

bool monitorSession::start(const monitorLine &line)
{
    if (current != Idle) {
        error = tr("The monitor is already running");
        return false;
    }
    process.reset(new childProcess);
    reader = monitorOutputReader();
    headerChecked = false;
    errorBytes.clear();
    result = outcome();
    error.clear();
    if (!process->start(path, line.arguments())) {
        error = tr("Cannot start %1: %2").arg(path, process->errorString());
        process.reset();
        return false;
    }
    connect(
        process.get(), &childProcess::readyReadStandardOutput, this, &monitorSession::readOutput);
    connect(
        process.get(), &childProcess::readyReadStandardError, this, &monitorSession::readErrors);
    connect(process.get(), &childProcess::finished, this, &monitorSession::finished);
    setState(Starting);
    return true;
}

void monitorSession::stop()
{
    if (current != Starting && current != Listening)
        return;
    result.stopped = true;
    process->terminate();
    graceTimer.start();
    setState(Stopping);
}

void monitorSession::killAfterGrace()
{
    if (current != Stopping)
        return;
    result.killed = true;
    process->kill();
}

void monitorSession::setState(State state)
{
    if (state == current)
        return;
    current = state;
    emit stateChanged(state);
}

void monitorSession::readOutput()
{
    const QVector<monitorTransaction> transactions = reader.feed(process->readAllStandardOutput());
    if (!headerChecked && !reader.header().isEmpty()) {
        headerChecked = true;
        if (!reader.headerKnown()) {
            // Rows of another form would fill the columns with the wrong
            // fields: the listening ends rather than mislead.
            emit messageWritten(tr("The monitor's rows are not of the form this window reads: %1")
                                    .arg(QString::fromUtf8(reader.header().left(200)).trimmed()));
            stop();
            return;
        }
    }
    if (!reader.headerKnown())
        return;
    if (!transactions.isEmpty())
        emit transactionsRead(transactions);
}

void monitorSession::readErrors()
{
    errorBytes += process->readAllStandardError();
    int end;
    while ((end = errorBytes.indexOf('\n')) >= 0) {
        const int length = end > 0 && errorBytes.at(end - 1) == '\r' ? end - 1 : end;
        takeErrorLine(QString::fromUtf8(errorBytes.left(length)));
        errorBytes.remove(0, end + 1);
    }
    // Text without a line end is not held without bound.
    if (errorBytes.size() > MaxErrorLineBytes) {
        takeErrorLine(QString::fromUtf8(errorBytes));
        errorBytes.clear();
    }
}

void monitorSession::takeErrorLine(const QString &line)
{
    if (current == Starting && line.startsWith(QLatin1String("Listening on "))) {
        setState(Listening);
        emit listening(line);
        return;
    }
    if (result.messages.size() < MaxMessageChars)
        result.messages += line + QLatin1Char('\n');
    emit messageWritten(line);
}

void monitorSession::finished(int exitCode, bool crashed)
{
    readOutput();
    readErrors();
    if (!errorBytes.isEmpty()) {
        takeErrorLine(QString::fromUtf8(errorBytes));
        errorBytes.clear();
    }
    bool incompleteRow = false;
    const QVector<monitorTransaction> last = reader.finish(&incompleteRow);
    if (!last.isEmpty() && reader.headerKnown())
        emit transactionsRead(last);
    if (incompleteRow)
        emit messageWritten(tr("The monitor ended within a row; the row is left out"));
    if (reader.droppedRows() > 0)
        emit messageWritten(tr("Rows left out for their length: %1").arg(reader.droppedRows()));

    if (crashed)
        result.signal = exitCode > 0 ? exitCode : -1;
    else
        result.exitCode = exitCode;
    // The process object is done with; it goes once this call has returned.
    process.release()->deleteLater();
    graceTimer.stop();
    setState(Idle);
    emit ended(result);
}
