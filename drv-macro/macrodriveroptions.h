#pragma once

#include <QString>
#include <QStringList>

class OptionPairs;
class OptionTable;

// The command line of qelDrvMacro: its option table, its usage text and the
// checks that run before anything touches a device.
namespace MacroDriverOptions {

// The recognised options, in the order the usage text lists them.
const OptionTable &table();
// The usage text (markup): examples, one row per option, the macro list.
QString usageText();
// One line per missing required option ("&nbsp;--port<br>" ...): the
// connection options of the line (--port, --address on a serial line; see
// ConnectionChecks::missingOptions), then --macro, --param; empty when
// nothing is missing.
QString missingOptions(const OptionPairs &options);
// The lines of every failed value check, in option order; empty when all
// values pass. The device address must be one the line accepts, so a request
// never goes out to an address the user did not give.
QString invalidValues(const OptionPairs &options);

} // namespace MacroDriverOptions
