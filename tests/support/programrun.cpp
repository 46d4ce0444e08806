#include "programrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

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

ClosedOutputRun runWithClosedOutput(
    const QString &program, const QStringList &arguments, int timeoutSeconds)
{
    ClosedOutputRun run;
    const QStringList command
        = QStringList {QStringLiteral("timeout"), QString::number(timeoutSeconds), program}
        + arguments;
    int output[2];
    if (::pipe(output) != 0)
        return run;
    ::close(output[0]); // the reader is gone before the first line
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    std::vector<QByteArray> bytes;
    std::vector<char *> argv;
    for (const QString &argument : command)
        bytes.push_back(QFile::encodeName(argument));
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "timeout", &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(output[1]);
    if (spawned != 0)
        return run;
    run.started = true;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return run;
    run.exited = WIFEXITED(status);
    if (run.exited)
        run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    return run;
}
