#include "valuetextvalidator.h"

#include <QRegularExpression>

#include <cmath>

valueTextValidator::valueTextValidator(QObject *parent)
    : QValidator(parent)
{ }

void valueTextValidator::setType(const QString &type, int registers)
{
    this->type = type;
    maxBytes = 2 * registers;
}

QValidator::State valueTextValidator::validate(QString &input, int &) const
{
    if (type == QLatin1String("STR"))
        return input.contains(QLatin1Char('"')) || input.toUtf8().size() > maxBytes ? Invalid
                                                                                    : Acceptable;
    if (input.isEmpty() || (input == QLatin1String("-") && type != QLatin1String("U64")))
        return Intermediate;
    bool ok = false;
    if (type == QLatin1String("U64")) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        if (!digits.match(input).hasMatch())
            return Invalid;
        input.toULongLong(&ok);
        return ok ? Acceptable : Invalid;
    }
    if (type == QLatin1String("S64")) {
        static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
        if (!digits.match(input).hasMatch())
            return Invalid;
        input.toLongLong(&ok);
        return ok ? Acceptable : Invalid;
    }
    // F64: a number in the making ("1e", "-2.") is Intermediate, a finite
    // one Acceptable.
    static const QRegularExpression real(
        QStringLiteral("^-?[0-9]*([.,][0-9]*)?([eE][-+]?[0-9]*)?$"));
    if (!real.match(input).hasMatch())
        return Invalid;
    const double value = QString(input).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(value) ? Acceptable : Intermediate;
}
