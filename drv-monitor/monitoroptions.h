#pragma once

#include "listeningline.h"

#include <QString>
#include <QStringList>

class OptionPairs;

// The command line of qelDrvMonitor: its option table, its usage text, the
// checks that run before the line is opened, and the settings they give.
namespace MonitorOptions {

// The recognised options, in the order the usage text lists them.
QStringList table();
// The usage text (markup): examples, one row per option.
QString usageText();
// "&nbsp;--port<br>" when the port is missing; empty otherwise.
QString missingOptions(const OptionPairs &options);
// One line per failed check, in option order: options the program does not
// know, then the values. Empty when all pass.
QString invalidValues(const OptionPairs &options, const QStringList &arguments);

struct Settings
{
    ListeningLine::Settings line;
    bool ascii = false;
    int replyWindowMs = 1000;
    bool hex = false;
    QString csvFile; // empty: none; "-": standard output
    int durationSeconds = 0; // 0: until stopped
};
// The settings of a command line that passed the checks.
Settings settings(const OptionPairs &options);

} // namespace MonitorOptions
