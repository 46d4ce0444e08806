#include "checks.h"

#include "numbers.h"

#include <QCoreApplication>

namespace {
const char *const context = "Checks";
QString tr(const char *text)
{
    return QCoreApplication::translate(context, text);
}
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

} // namespace Checks

QString helpRow(const QString &option, const QString &description)
{
    QString row = "&nbsp;" + option + "&nbsp;";
    if (row.size() < 30)
        row += QString(30 - row.size(), QLatin1Char(' '));
    return row + description + "<br>";
}
