#pragma once

#include <QString>
#include <QStringList>

class OptionPairs;

// Console texts both converters share.
namespace ConverterConsole {

// The help text: the example line, the rows of "--db", the file option and
// "--type", one row per database kind and the row of "--help".
QString helpText(const QString &example, const QString &fileOption, const QString &fileDescription);
// One "&nbsp;<option><br>" line for every required option that is missing,
// in the order given.
QString missingOptions(const OptionPairs &options, const QStringList &required);

} // namespace ConverterConsole
