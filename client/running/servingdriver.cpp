#include "servingdriver.h"

#include "argumentline.h"
#include "childprocess.h"
#include "exe.h"
#include "serveprotocol.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

servingDriver::servingDriver(QString program, QStringList portArguments, QObject *parent)
    : QObject(parent)
    , programPath(std::move(program))
    , lineArguments(std::move(portArguments))
    , silence(new QTimer(this))
{
    silence->setSingleShot(true);
    connect(silence, &QTimer::timeout, this, [this]() {
        settle(TimedOut);
        kill();
    });
}

servingDriver::~servingDriver()
{
    kill();
}

bool servingDriver::isRunning() const
{
    return process && process->isRunning();
}

bool servingDriver::start()
{
    kill();
    key.clear();
    out.clear();
    err.clear();
    exitCode = 0;
    crashed = false;
    process = new childProcess(this);
    process->setInputPipe(true);
    connect(process, &childProcess::readyReadStandardOutput, this, &servingDriver::readOutput);
    connect(process, &childProcess::readyReadStandardError, this, &servingDriver::readError);
    connect(process, &childProcess::finished, this, &servingDriver::driverEnded);
    return process->start(programPath, lineArguments + QStringList {QStringLiteral("--serve")});
}

void servingDriver::kill()
{
    // Killed and reaped before this returns: a serial line is free again.
    delete process;
    process = nullptr;
}

void servingDriver::stop()
{
    settle(Stopped);
    kill();
}

servingDriver::outcome servingDriver::request(const QStringList &requestArguments, int timeoutMs)
{
    outcome result;
    result.done = true;
    const QByteArray line = QFile::encodeName(ArgumentLine::join(requestArguments)) + '\n';
    // A driver that ended before it read the line never saw it: a new one
    // takes it. One that cannot take it either tells why by its end.
    if (!isRunning() || !process->write(line)) {
        if (!start()) {
            result.result = AppExe::exe::TimeoutResult;
            result.startError = process->errorString();
            kill();
            return result;
        }
        process->write(line);
    }

    wait = Answering;
    silence->start(timeoutMs);
    QEventLoop loop;
    connect(this, &servingDriver::settled, &loop, &QEventLoop::quit);
    // An answer may already be in: the driver's end or its end lines.
    readOutput();
    readError();
    if (wait == Answering)
        loop.exec();

    switch (wait) {
    case Answering:
        // The event loop is quitting (the window closes).
        result.done = false;
        wait = Stopped;
        silence->stop();
        kill();
        break;
    case Answered: {
        const ServeProtocol::EndLine outEnd = ServeProtocol::findEndLine(out, key);
        const ServeProtocol::EndLine errEnd = ServeProtocol::findEndLine(err, key);
        result.result = outEnd.status;
        result.outText = QString::fromUtf8(out.left(outEnd.markAt));
        result.errText = QString::fromUtf8(err.left(errEnd.markAt));
        out.remove(0, outEnd.next);
        err.remove(0, errEnd.next);
        break;
    }
    case Ended:
        // As a one-shot run that ends: its status, or the signal that killed it.
        result.result = crashed && exitCode == 0 ? -1 : exitCode;
        result.signal = crashed ? exitCode : 0;
        result.outText = QString::fromUtf8(out);
        result.errText = QString::fromUtf8(err);
        out.clear();
        err.clear();
        break;
    case TimedOut:
        result.result = AppExe::exe::TimeoutResult;
        break;
    case Stopped:
        result.result = AppExe::exe::StoppedResult;
        break;
    }
    return result;
}

void servingDriver::readOutput()
{
    if (!process)
        return;
    const QByteArray bytes = process->readAllStandardOutput();
    out += bytes;
    if (key.isEmpty()) {
        const int lineEnd = out.indexOf('\n');
        if (lineEnd < 0)
            return;
        key = ServeProtocol::keyOfReadyLine(out.left(lineEnd));
        if (key.isEmpty())
            return; // not a serving driver's output: its end tells the rest
        out.remove(0, lineEnd + 1);
    }
    if (wait != Answering)
        return;
    if (!bytes.isEmpty())
        silence->start(); // the time-out measures silence, as for a one-shot run
    if (ServeProtocol::findEndLine(out, key).found && ServeProtocol::findEndLine(err, key).found)
        settle(Answered);
}

void servingDriver::readError()
{
    if (!process)
        return;
    const QByteArray bytes = process->readAllStandardError();
    err += bytes;
    if (wait == Answering && !bytes.isEmpty())
        silence->start();
    if (wait == Answering && !key.isEmpty() && ServeProtocol::findEndLine(out, key).found
        && ServeProtocol::findEndLine(err, key).found)
        settle(Answered);
}

void servingDriver::driverEnded(int code, bool killed)
{
    exitCode = code;
    crashed = killed;
    readOutput();
    readError();
    settle(Ended);
}

void servingDriver::settle(Wait how)
{
    if (wait != Answering)
        return;
    wait = how;
    silence->stop();
    emit settled();
}
