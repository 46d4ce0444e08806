#include "exe.h"

#include "childprocess.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTextCodec>
#include <QTextDecoder>
#include <QTimer>

namespace AppExe {

exe::exe(QString program, QStringList arguments, bool startNow, int timeoutMs)
    : process(new childProcess(this))
    , timer(new QTimer(this))
    , arguments(std::move(arguments))
    , timeoutMs(timeoutMs)
{
    timer->setSingleShot(true);

    // The child's signals come from the event loop, never from start().
    connections[0] = connect(process, &childProcess::finished, this, &exe::finished);
    connections[1]
        = connect(process, &childProcess::readyReadStandardError, this, &exe::standardError);
    connections[2]
        = connect(process, &childProcess::readyReadStandardOutput, this, &exe::standardOutput);
    connections[3]
        = connect(timer, &QTimer::timeout, this, &exe::timeoutOccured, Qt::QueuedConnection);

    programPath = QFileInfo(program).absoluteFilePath();
    this->program = programPath;
    if (programPath.indexOf(QLatin1Char(' ')) > 0)
        this->program = QLatin1Char('"') + programPath + QLatin1Char('"');

    if (startNow)
        start();
}

exe::~exe()
{
    if (timer->isActive())
        timer->stop();
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    // Kills and reaps a program that still runs.
    delete process;
    delete timer;
    delete outDecoder;
    delete errDecoder;
}

int exe::start()
{
    if (timeoutMs > 0) {
        timer->setSingleShot(true);
        timer->setInterval(timeoutMs);
        timer->start();
    }
    commandLine = program + QLatin1Char(' ') + commandText(arguments);
    outText.clear();
    errText.clear();
    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    delete outDecoder;
    delete errDecoder;
    outDecoder = utf8->makeDecoder();
    errDecoder = utf8->makeDecoder();

    if (!process->start(programPath, arguments)) {
        // A program that cannot be started ends the run from the event loop,
        // as one that ends at once would.
        startError = process->errorString();
        QMetaObject::invokeMethod(
            this, [this]() { startFailed(); }, Qt::QueuedConnection);
    }
    return result;
}

QString exe::commandText(const QStringList &arguments)
{
    QStringList shown;
    for (const QString &argument : arguments) {
        const bool grouped = argument.isEmpty() || argument.contains(QLatin1Char(' '));
        shown << (grouped ? QLatin1Char('"') + argument + QLatin1Char('"') : argument);
    }
    return shown.join(QLatin1Char(' '));
}

int exe::wait()
{
    if (!done) {
        QEventLoop loop;
        connect(this, &exe::complete, &loop, &QEventLoop::quit);
        connect(this, &exe::timeout, &loop, &QEventLoop::quit);
        connect(this, &exe::stopped, &loop, &QEventLoop::quit);
        if (!done)
            loop.exec();
    }
    timer->stop();
    return result;
}

void exe::readChannel(bool standardOutput)
{
    const QByteArray bytes
        = standardOutput ? process->readAllStandardOutput() : process->readAllStandardError();
    if (bytes.isEmpty())
        return;
    QTextDecoder *decoder = standardOutput ? outDecoder : errDecoder;
    const QString text = decoder->toUnicode(bytes);

    QString display = text;
    display.remove(QLatin1Char('\r'));
    display.remove(QLatin1Char('\n'));

    // The time-out measures silence, not the whole run.
    if (timeoutMs > 0 && !done) {
        timer->setInterval(timeoutMs);
        timer->start();
    }
    emit updateLog(display);
    if (standardOutput)
        outText += text;
    else
        errText += text;
}

void exe::standardOutput()
{
    readChannel(true);
}

void exe::standardError()
{
    readChannel(false);
}

void exe::end(int code)
{
    result = code;
    done = true;
    timer->stop();
}

void exe::finished(int exitCode, bool crashed)
{
    // A report that comes after the time-out has ended the run changes nothing.
    if (done)
        return;
    // Output still buffered when the end is reported belongs to this run.
    readChannel(true);
    readChannel(false);
    // A program killed by a signal has not succeeded, whatever its code says.
    if (crashed && exitCode > 0)
        signal = exitCode;
    if (crashed && exitCode == 0)
        exitCode = -1;
    end(exitCode);
    emit complete(exitCode);
}

void exe::timeoutOccured()
{
    if (done)
        return;
    process->kill();
    end(TimeoutResult);
    emit timeout(TimeoutResult);
}

void exe::abort()
{
    if (done)
        return;
    process->kill();
    end(StoppedResult);
    emit stopped(StoppedResult);
}

void exe::startFailed()
{
    // Ends as a time-out does, with -1003: every caller takes a result other
    // than 0 as a failure, and startError says why.
    if (done)
        return;
    end(TimeoutResult);
    emit timeout(TimeoutResult);
}

} // namespace AppExe
