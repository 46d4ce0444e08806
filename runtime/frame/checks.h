#pragma once

#include <QString>
#include <QStringList>

class OptionPairs;

// Validation of command-line values. Each check appends one markup line to
// *errors when it fails (errors may be null) and returns whether it passed, so
// a program collects every complaint into one message before it touches a device.
namespace Checks {

// Valid when the value reads under the real-number rule; the line reads
// " <value> is not a number".
bool numberCheck(const QString &value, QString *errors);
// Valid when the value equals one of the allowed values; the line reads
// " <value> is not a member of: N O E".
bool memberCheck(const QString &value, const QStringList &allowed, QString *errors);
// Valid when the value is an unsigned decimal device address that the line
// accepts: 0 to 247 on a serial line, 0 to 247 and 255 over TCP.
bool deviceAddressCheck(const QString &value, bool tcp, QString *errors);
// Valid when the value reads under the real-number rule as a whole number from
// low to high; the line names the value and the range.
bool integerRangeCheck(const QString &value, int low, int high, QString *errors);

// Valid when the value is decimal digits only, from low to high (a TCP
// port); the line names the value and the range.
bool decimalRangeCheck(const QString &value, quint32 low, quint32 high, QString *errors);

// One line " Unknown option: --name" for every argument after the program's
// name that begins with "--", is not in the option table and does not stand
// where the option before it takes its value. Flags take no value, so an
// unknown option after one is named as well.
QString unknownOptions(
    const QStringList &arguments, const QStringList &optionTable, const QStringList &flags);

// Prints the "Invalid parameters" message of unknownOptions() lines on
// standard error when there are any; true when it printed, and the program
// then ends with status -1 before it opens or sends anything.
bool printUnknownOptions(const QString &lines);

// Appends " <name>" as a line when the option is not given.
void requireOption(const OptionPairs &options, const QString &name, QString *lines);

// The messages that hold the lines of the two command-line checks:
// "Required parameters:" and "Invalid parameters:".
QString requiredParametersMessage(const QString &lines);
QString invalidParametersMessage(const QString &lines);

} // namespace Checks

// One row of a help text: " <option> " padded with blanks to 30 characters
// (counted on the markup as written), then the description and "<br>".
QString helpRow(const QString &option, const QString &description);
