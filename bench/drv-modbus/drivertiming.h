#pragma once

// What the benchmarks of qelDrvModbus share: the programs of the build, a
// timed run of one to its end, a median, and the device simulator on a line.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

// A program of the build (build/bin).
QString program(const QString &name);

// One run of a program to its end; the elapsed milliseconds, or -1 when it
// did not end well. Its standard output goes to *out when given, the
// processor time it used (user and system, ms) to *processorMs.
double timedRun(const QString &path, const QStringList &arguments, QByteArray *out = nullptr,
    double *processorMs = nullptr);

double median(std::vector<double> values);

// The simulator on TCP (port chosen by the system) or on a pseudo-terminal;
// the line it prints first names where it listens.
class Simulator
{
public:
    ~Simulator();
    bool start(bool pty, const QStringList &options = {});
    // The driver's options that reach it.
    QStringList lineArguments() const;
    // The TCP port, for other clients.
    QString port() const { return where.section(':', 1); }

private:
    QProcess process;
    QString where;
};
