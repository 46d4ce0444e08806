#pragma once

#include "optionrow.h"
#include "translationcontext.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <iterator>
#include <optional>

class OptionPairs;

// A console program's options in the order of its help text: the one list
// that the option scan, the check for unknown options, the value checks and
// the help rows all read, so none of them can drift from the others.
class OptionTable
{
public:
    OptionTable(TranslationContext context, QVector<OptionRow> rows);
    template<int Count>
    OptionTable(TranslationContext context, const OptionRow (&rows)[Count])
        : OptionTable(context, QVector<OptionRow>(std::begin(rows), std::end(rows)))
    { }

    const QVector<OptionRow> &rows() const { return optionRows; }
    QStringList names() const;
    // The option pairs of a command line (the program's name first).
    OptionPairs scan(const QStringList &arguments) const;
    // The start of every console program's run: a command line that names an
    // unknown option ends it with the "Invalid parameters" message (status
    // -1), one that asks for help or names no option with the usage text
    // (status 0); the exit status is then returned. Otherwise *options holds
    // the command line's pairs and nothing is returned.
    std::optional<int> readCommandLine(
        const QStringList &arguments, const QString &usageText, OptionPairs *options) const;
    // The "Unknown option" lines of a command line (Checks::unknownOptions).
    QString unknownOptions(const QStringList &arguments) const;
    // The lines of every value check that fails, for the options given on
    // the line given, in check order; empty when all pass.
    QString invalidValues(const OptionPairs &options, LineKind line) const;
    // One help row per option, in table order.
    QString helpRows() const;

private:
    TranslationContext tr;
    QVector<OptionRow> optionRows;
};
