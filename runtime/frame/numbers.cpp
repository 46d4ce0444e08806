#include "numbers.h"

#include <cmath>

namespace Numbers {

static bool hasHexPrefix(const QString &text)
{
    return text.startsWith(QLatin1String("0x"));
}

double toReal(const QString &text, bool *ok)
{
    bool valid = false;
    double value = 0;
    if (hasHexPrefix(text)) {
        value = double(text.toULongLong(&valid, 16));
    } else {
        QString decimal = text;
        decimal.replace(QLatin1Char(','), QLatin1Char('.'));
        value = decimal.toDouble(&valid);
    }
    if (!valid)
        value = 0;
    if (ok)
        *ok = valid;
    return value;
}

qint64 toSigned(const QString &text, bool *ok)
{
    bool valid = false;
    const qint64 value = text.toLongLong(&valid, hasHexPrefix(text) ? 16 : 10);
    if (ok)
        *ok = valid;
    return valid ? value : 0;
}

quint64 toUnsigned(const QString &text, bool *ok)
{
    bool valid = false;
    const quint64 value = text.toULongLong(&valid, hasHexPrefix(text) ? 16 : 10);
    if (ok)
        *ok = valid;
    return valid ? value : 0;
}

quint16 toWord(const QString &text)
{
    const double value = toReal(text);
    if (!std::isfinite(value))
        return 0;
    // Exact modulo for any finite value, without an out-of-range conversion.
    double cut = std::fmod(std::trunc(value), 65536.0);
    if (cut < 0)
        cut += 65536.0;
    return quint16(cut);
}

quint32 toDecimal(const QString &text, bool *ok)
{
    bool valid = false;
    const quint32 value = text.toUInt(&valid, 10);
    if (ok)
        *ok = valid;
    return valid ? value : 0;
}

bool isDecimalInRange(const QString &text, quint32 low, quint32 high)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool valid = false;
    const quint32 value = toDecimal(text, &valid);
    return valid && value >= low && value <= high;
}

bool isIntegerInRange(const QString &text, double low, double high)
{
    bool valid = false;
    const double value = toReal(text, &valid);
    return valid && std::isfinite(value) && std::trunc(value) == value && value >= low
        && value <= high;
}

} // namespace Numbers
