#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Running the built programs from tests.

// A program's "exit status -1" as the parent process sees it.
constexpr int ExitFailure = 255;

// Path of a built program in the build's bin directory.
QString programPath(const QString &name);

struct ProgramResult
{
    bool started = false;
    bool finished = false; // ended on its own within the time allowed
    bool crashed = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end (killing it after timeoutMs) and collects its output.
ProgramResult runProgram(const QString &program, const QStringList &arguments,
    int timeoutMs = 60000, const QByteArray &input = QByteArray(),
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// How a program run with a standard output nobody reads ended.
struct ClosedOutputRun
{
    bool started = false;
    bool exited = false; // ended by exit, not by a signal
    int exitCode = -1; // when exited
    int signal = 0; // when ended by a signal
};

// Runs a program whose standard output is a pipe the reader closed before the
// program's first line (program ... | head), with SIGPIPE at its default as a
// shell starts it; killed after timeoutSeconds.
ClosedOutputRun runWithClosedOutput(
    const QString &program, const QStringList &arguments, int timeoutSeconds = 60);
