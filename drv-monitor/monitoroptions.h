#pragma once

#include "listeningline.h"

#include <QString>
#include <QStringList>

class OptionPairs;
class OptionTable;

// The command line of qelDrvMonitor: its option table, its usage text, the
// checks that run before the line is opened, and the settings they give.
namespace MonitorOptions {

// The options in the order of the usage text; values are checked in this
// order too.
const OptionTable &table();
// The usage text (markup): examples, one row per option.
QString usageText();
// "&nbsp;--port<br>" when the port is missing; empty otherwise.
QString missingOptions(const OptionPairs &options);
// One line per failed value check, in table order; empty when all pass.
QString invalidValues(const OptionPairs &options);

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
