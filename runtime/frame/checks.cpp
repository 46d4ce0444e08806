#include "checks.h"

#include "numbers.h"
#include "optionpairs.h"
#include "reportprinter.h"

#include "translationcontext.h"

namespace {
constexpr TranslationContext tr("Checks");
} // namespace

namespace Checks {

bool numberCheck(const QString &value, QString *errors)
{
    bool valid = false;
    Numbers::toReal(value, &valid);
    if (!valid && errors)
        *errors += "&nbsp;" + value + "&nbsp;" + tr("is not a number") + "<br>";
    return valid;
}

bool memberCheck(const QString &value, const QStringList &allowed, QString *errors)
{
    if (allowed.contains(value))
        return true;
    if (errors) {
        *errors += "&nbsp;" + value + "&nbsp;" + tr("is not a member of") + ":&nbsp;";
        for (int i = 0; i < allowed.size(); ++i)
            *errors += allowed.at(i) + (i + 1 < allowed.size() ? "&nbsp;" : "<br>");
        if (allowed.isEmpty())
            *errors += "<br>";
    }
    return false;
}

bool deviceAddressCheck(const QString &value, bool tcp, QString *errors)
{
    bool valid = false;
    const quint32 address = Numbers::toDecimal(value, &valid);
    valid = valid && (address <= 247 || (tcp && address == 255));
    if (!valid && errors) {
        *errors += "&nbsp;" + value + "&nbsp;" + tr("is not a device address") + ":&nbsp;"
            + (tcp ? QStringLiteral("0..247,&nbsp;255") : QStringLiteral("0..247")) + "<br>";
    }
    return valid;
}

bool integerRangeCheck(const QString &value, int low, int high, QString *errors)
{
    const bool valid = Numbers::isIntegerInRange(value, low, high);
    if (!valid && errors) {
        *errors += "&nbsp;" + value + "&nbsp;" + tr("is not a whole number from") + "&nbsp;"
            + QString::number(low) + "&nbsp;" + tr("to") + "&nbsp;" + QString::number(high)
            + "<br>";
    }
    return valid;
}

bool decimalRangeCheck(const QString &value, quint32 low, quint32 high, QString *errors)
{
    const bool valid = Numbers::isDecimalInRange(value, low, high);
    if (!valid && errors) {
        *errors += "&nbsp;" + value + "&nbsp;" + tr("is not a decimal whole number from") + "&nbsp;"
            + QString::number(low) + "&nbsp;" + tr("to") + "&nbsp;" + QString::number(high)
            + "<br>";
    }
    return valid;
}

QString unknownOptions(
    const QStringList &arguments, const QStringList &optionTable, const QStringList &flags)
{
    QString lines;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--")) || optionTable.contains(argument))
            continue;
        const QString &before = arguments.at(i - 1);
        const bool valueOfBefore = i > 1 && optionTable.contains(before) && !flags.contains(before);
        if (!valueOfBefore)
            lines += "&nbsp;" + tr("Unknown option:") + "&nbsp;" + argument + "<br>";
    }
    return lines;
}

bool printUnknownOptions(const QString &lines)
{
    if (lines.isEmpty())
        return false;
    printError(invalidParametersMessage(lines));
    return true;
}

void requireOption(const OptionPairs &options, const QString &name, QString *lines)
{
    if (!options.has(name))
        *lines += "&nbsp;" + name + "<br>";
}

QString requiredParametersMessage(const QString &lines)
{
    return tr("Required parameters") + ":<br>" + lines;
}

QString invalidParametersMessage(const QString &lines)
{
    return tr("Invalid parameters") + ":<br>" + lines;
}

} // namespace Checks

QString helpRow(const QString &option, const QString &description)
{
    QString row = "&nbsp;" + option + "&nbsp;";
    if (row.size() < 30)
        row += QString(30 - row.size(), QLatin1Char(' '));
    return row + description + "<br>";
}
