#include "programrun.h"

#include <QDir>
#include <QProcess>

QString programPath(const QString &name)
{
    return QDir(QStringLiteral(QEL_BIN_DIR)).filePath(name);
}

ProgramResult runProgram(const QString &program, const QStringList &arguments, int timeoutMs,
    const QByteArray &input, const QProcessEnvironment &environment)
{
    ProgramResult result;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    result.started = process.waitForStarted(timeoutMs);
    if (!result.started)
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}
