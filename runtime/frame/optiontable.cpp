#include "optiontable.h"

#include "checks.h"
#include "optionpairs.h"
#include "reportprinter.h"

#include <algorithm>

OptionTable::OptionTable(TranslationContext context, QVector<OptionRow> rows)
    : tr(context)
    , optionRows(std::move(rows))
{ }

QStringList OptionTable::names() const
{
    QStringList list;
    for (const OptionRow &row : optionRows)
        list.append(QLatin1String(row.name));
    return list;
}

OptionPairs OptionTable::scan(const QStringList &arguments) const
{
    return OptionPairs(arguments, names());
}

std::optional<int> OptionTable::readCommandLine(
    const QStringList &arguments, const QString &usageText, OptionPairs *options) const
{
    if (Checks::printUnknownOptions(unknownOptions(arguments)))
        return -1;
    *options = scan(arguments);
    if (options->isEmpty() || options->has(QStringLiteral("--help"))) {
        printReport(usageText);
        return 0;
    }
    return std::nullopt;
}

QString OptionTable::unknownOptions(const QStringList &arguments) const
{
    QStringList flags;
    for (const OptionRow &row : optionRows) {
        if (row.value == OptionRow::Flag)
            flags.append(QLatin1String(row.name));
    }
    return Checks::unknownOptions(arguments, names(), flags);
}

QString OptionTable::invalidValues(const OptionPairs &options, LineKind line) const
{
    QVector<const OptionRow *> checked;
    for (const OptionRow &row : optionRows) {
        const bool onThisLine = row.checkedOn == OptionRow::AnyLine
            || (row.checkedOn == OptionRow::TcpOnly) == overNetwork(line);
        if (row.check && onThisLine && options.has(QLatin1String(row.name)))
            checked.append(&row);
    }
    std::stable_sort(checked.begin(), checked.end(),
        [](const OptionRow *a, const OptionRow *b) { return a->checkOrder < b->checkOrder; });
    QString lines;
    for (const OptionRow *row : qAsConst(checked))
        row->check(options.value(QLatin1String(row->name)), line, &lines);
    return lines;
}

QString OptionTable::helpRows() const
{
    QString text;
    for (const OptionRow &row : optionRows)
        text += helpRow(QLatin1String(row.name), tr(row.help));
    return text;
}
