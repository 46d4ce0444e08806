#pragma once

#include "optionrow.h"
#include "translationcontext.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <iterator>

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
