#include "readformat.h"

int formatDigits(const QString &format)
{
    if (format == QLatin1String("F_X_X"))
        return 1;
    if (format == QLatin1String("F_X_XX"))
        return 2;
    if (format == QLatin1String("F_X_XXX"))
        return 3;
    if (format == QLatin1String("F_X_XXXX"))
        return 4;
    return 0;
}

QString formatReadValue(const QString &value, const QString &format)
{
    const int digits = formatDigits(format);
    if (digits == 0)
        return value;

    // Signed, so that S16 to S64 values keep their sign; a U64 value above
    // the largest S64 is read unsigned.
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    bool large = false;
    const qulonglong unsignedNumber = ok ? 0 : value.toULongLong(&large);
    const bool negative = ok && number < 0;
    // The magnitude in unsigned arithmetic, which also holds -2^63.
    const qulonglong magnitude = large ? unsignedNumber
        : !ok                          ? 0
        : negative                     ? qulonglong(0) - qulonglong(number)
                                       : qulonglong(number);

    qulonglong divisor = 1;
    for (int i = 0; i < digits; ++i)
        divisor *= 10;
    return (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / divisor)
        + QLatin1Char('.')
        + QStringLiteral("%1").arg(magnitude % divisor, digits, 10, QLatin1Char('0'));
}
