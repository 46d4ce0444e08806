#pragma once

#include <QString>
#include <QStringList>

class OptionPairs;

// The command line of the register driver: its option table, its help text and
// the two checks that run before anything is opened or sent. The checks give
// markup lines, one per problem; empty when there is none.
namespace RegisterCommandLine {

QStringList optionTable();
QString helpText();

// Options that the given ones require but that are missing, and a "--format"
// of a block write that is not DEC, HEX or BIN.
QString missingParameters(const OptionPairs &options);
// Values that do not read or are out of range: the device address, the line
// settings, register addresses and counts (whole numbers 0 to 65535), the
// display and the frame delay. The operation's own data is checked by
// RegisterRequest.
QString invalidParameters(const OptionPairs &options);

// The messages printed for the lines of the two checks.
QString requiredParametersMessage(const QString &lines);
QString invalidParametersMessage(const QString &lines);

} // namespace RegisterCommandLine
