#include "opensshrun.h"

#include "executablesuffix.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTextCodec>
#include <QTextDecoder>
#include <QTimer>

openSshRun::openSshRun(QObject *parent)
    : QObject(parent)
    , process(new QProcess(this))
    , timer(new QTimer(this))
    , outDecoder(QTextCodec::codecForName("UTF-8")->makeDecoder())
    , errDecoder(QTextCodec::codecForName("UTF-8")->makeDecoder())
{
    timer->setSingleShot(true);
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
        &openSshRun::finished, Qt::QueuedConnection);
    connect(process, &QProcess::readyReadStandardError, this, &openSshRun::standardError,
        Qt::QueuedConnection);
    connect(process, &QProcess::readyReadStandardOutput, this, &openSshRun::standardOutput,
        Qt::QueuedConnection);
    connect(timer, &QTimer::timeout, this, &openSshRun::timeoutOccured, Qt::QueuedConnection);
    connect(
        process, &QProcess::errorOccurred, this, &openSshRun::processError, Qt::QueuedConnection);
}

openSshRun::~openSshRun()
{
    timer->stop();
    disconnect(process, nullptr, this, nullptr);
    disconnect(timer, nullptr, this, nullptr);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(1000);
    }
    delete timer;
    delete process;
    delete outDecoder;
    delete errDecoder;
}

void openSshRun::prepare(const QString &programFile, const QString &line, const QStringList &args)
{
    program = programFile;
    commandLine = line;
    arguments = args;
    done = !QFileInfo::exists(program);
    result = done ? ProgramMissing : 0;
}

QString openSshRun::programFile(const QString &folder, const QString &baseName)
{
    return folder + QLatin1Char('/') + executableName(baseName);
}

QString openSshRun::quotedIfBlank(const QString &text)
{
    if (text.indexOf(QLatin1Char(' ')) > 0)
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

int openSshRun::start()
{
    if (result == ProgramMissing)
        return result;
    if (timeoutMs > 0)
        timer->start(timeoutMs);
    outText.clear();
    errText.clear();
    startRequested = true;
    if (!workingDirectory.isEmpty())
        process->setWorkingDirectory(workingDirectory);
    process->start(program, arguments, QIODevice::ReadWrite);
    // Nothing is ever typed into the programs: a remote command that reads its
    // input sees its end instead of waiting for ever.
    process->closeWriteChannel();
    return result;
}

int openSshRun::wait()
{
    if (result == ProgramMissing)
        return result;
    if (!done && startRequested) {
        QEventLoop loop;
        connect(this, &openSshRun::ended, &loop, &QEventLoop::quit);
        loop.exec();
    }
    timer->stop();
    return result;
}

void openSshRun::end(int code)
{
    if (done)
        return;
    result = code;
    done = true;
    timer->stop();
    emit ended();
}

void openSshRun::finished(int code)
{
    // Output still in the pipes belongs to this run.
    standardOutput();
    standardError();
    end(process->exitStatus() == QProcess::NormalExit ? code : -1);
}

QString openSshRun::takeChunk(
    QProcess::ProcessChannel channel, QTextDecoder *decoder, QString &text)
{
    process->setReadChannel(channel);
    const QByteArray bytes = process->readAll();
    if (bytes.isEmpty())
        return QString();
    // Decoded as UTF-8 across chunk boundaries, so that messages in any
    // language reach the log as written.
    const QString chunk = decoder->toUnicode(bytes);
    text += chunk;
    QString display = chunk;
    display.remove(QLatin1Char('\r'));
    display.remove(QLatin1Char('\n'));
    return display;
}

void openSshRun::standardError()
{
    const QString display = takeChunk(QProcess::StandardError, errDecoder, errText);
    if (!display.isNull())
        emit updateLog(display);
}

void openSshRun::standardOutput()
{
    const QString display = takeChunk(QProcess::StandardOutput, outDecoder, outText);
    if (display.isNull())
        return;
    if (timeoutMs > 0 && !done)
        timer->start(timeoutMs);
    emit updateLog(display);
}

void openSshRun::timeoutOccured()
{
    process->kill();
    end(TimedOut);
}

void openSshRun::processError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    emit updateLog(program + QStringLiteral(": ") + process->errorString());
    end(ProgramFailed);
}
