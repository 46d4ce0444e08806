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
