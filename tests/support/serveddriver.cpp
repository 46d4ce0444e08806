#include "serveddriver.h"

#include "serveprotocol.h"

#include <QDeadlineTimer>

ServedDriver::~ServedDriver()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool ServedDriver::start(const QString &program, const QStringList &lineArguments, int timeoutMs)
{
    process.start(program, lineArguments + QStringList {QStringLiteral("--serve")});
    if (!process.waitForStarted(timeoutMs))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    process.setReadChannel(QProcess::StandardOutput);
    for (;;) {
        outBuffer += process.readAllStandardOutput();
        const int lineEnd = outBuffer.indexOf('\n');
        if (lineEnd >= 0) {
            sessionKey = ServeProtocol::keyOfReadyLine(outBuffer.left(lineEnd));
            if (sessionKey.isEmpty())
                startOut = outBuffer;
            outBuffer.remove(0, lineEnd + 1);
            startErr = process.readAllStandardError();
            return !sessionKey.isEmpty();
        }
        if (!process.waitForReadyRead(int(deadline.remainingTime()))) {
            process.waitForFinished(int(deadline.remainingTime()));
            startOut = outBuffer + process.readAllStandardOutput();
            startErr = process.readAllStandardError();
            return false;
        }
    }
}

void ServedDriver::write(const QByteArray &bytes)
{
    process.write(bytes);
    process.waitForBytesWritten(30000);
}

ServedDriver::Answer ServedDriver::request(const QByteArray &line, int timeoutMs)
{
    write(line + '\n');
    return answer(timeoutMs);
}

bool ServedDriver::readToEnd(QProcess::ProcessChannel channel, QByteArray *buffer, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    process.setReadChannel(channel);
    for (;;) {
        *buffer += channel == QProcess::StandardOutput ? process.readAllStandardOutput()
                                                       : process.readAllStandardError();
        if (ServeProtocol::findEndLine(*buffer, sessionKey).found)
            return true;
        if (!process.waitForReadyRead(int(deadline.remainingTime()))) {
            *buffer += channel == QProcess::StandardOutput ? process.readAllStandardOutput()
                                                           : process.readAllStandardError();
            return ServeProtocol::findEndLine(*buffer, sessionKey).found;
        }
    }
}

ServedDriver::Answer ServedDriver::answer(int timeoutMs)
{
    Answer answer;
    const bool out = readToEnd(QProcess::StandardOutput, &outBuffer, timeoutMs);
    // Standard error's end line was written before standard output's.
    const bool err = out && readToEnd(QProcess::StandardError, &errBuffer, timeoutMs);
    if (!out || !err) {
        answer.out = outBuffer;
        answer.err = errBuffer;
        return answer;
    }
    const ServeProtocol::EndLine outEnd = ServeProtocol::findEndLine(outBuffer, sessionKey);
    const ServeProtocol::EndLine errEnd = ServeProtocol::findEndLine(errBuffer, sessionKey);
    answer.answered = true;
    answer.wellFormed = outEnd.wellFormed && errEnd.wellFormed && outEnd.status == errEnd.status;
    answer.status = outEnd.status;
    answer.out = outBuffer.left(outEnd.markAt);
    answer.err = errBuffer.left(errEnd.markAt);
    outBuffer.remove(0, outEnd.next);
    errBuffer.remove(0, errEnd.next);
    return answer;
}

QByteArray ServedDriver::pendingOutput()
{
    outBuffer += process.readAllStandardOutput();
    return outBuffer;
}

void ServedDriver::closeInput()
{
    process.closeWriteChannel();
}

bool ServedDriver::waitForEnd(int timeoutMs)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
}
