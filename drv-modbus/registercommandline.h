#pragma once

#include "registerrequest.h"

#include <QString>
#include <QVector>

class OptionPairs;
class OptionTable;

// The command line of the register driver: its one option table, its help
// text and the checks that run before anything is opened or sent. The
// checks give markup lines, one per problem; empty when there is none.
namespace RegisterCommandLine {

// An option that chooses the run's operation, with the operation it chooses.
struct Operation
{
    const char *option;
    RegisterRequest::Kind kind;
    RegisterRequest::Table table;
    ValueType type;
};

const OptionTable &optionTable();
QString helpText();
// The operation options in the order they are tried: the first one given
// chooses the run's operation.
QVector<Operation> operations();
// The values of "--read_device_id", read codes 1, 2 and 3 in order: "basic",
// "regular", "extended".
QStringList deviceIdCodes();

// Options that the given ones require but that are missing, and a "--format"
// of a block write that is not DEC, HEX or BIN.
QString missingParameters(const OptionPairs &options);
// Values that do not read or are out of range: the device address, the line
// settings, register addresses and counts (whole numbers 0 to 65535), the
// display and the frame delay. The operation's own data is checked by
// RegisterRequest.
QString invalidParameters(const OptionPairs &options);

} // namespace RegisterCommandLine
