#pragma once

#include <QString>
#include <QStringList>

class DriverConnection;
class OptionPairs;
class OptionTable;

// The run of a register or macro driver: its command line read against its
// option table (an unknown option refused, the usage text for "--help" or
// for no option at all), then one request over a line opened for it. With
// "--serve" the line stays open and the requests come from standard input
// (RequestServer); each goes through the same request function as the
// one-shot run, so a served request is reported exactly as that run would
// report it.
class DriverProgram
{
public:
    // One request: the checks of its options, then the operation they choose
    // carried out over the connected line, each outcome reported as a
    // one-shot run reports it. Returns the exit status (0 or -1).
    using Request = int (*)(const OptionPairs &options, DriverConnection &line);

    DriverProgram(const OptionTable &table, QString usageText, Request request);

    // The driver's run for its command line (the program's name first);
    // returns its exit status.
    int run(const QStringList &arguments) const;
    // One request of a whole command line over line, as a one-shot run of
    // that command line would carry it out; returns its exit status.
    int runRequest(const QStringList &arguments, DriverConnection &line) const;

    const OptionTable &optionTable() const { return table; }

private:
    const OptionTable &table;
    QString usage;
    Request request;
};
