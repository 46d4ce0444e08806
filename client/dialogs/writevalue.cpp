#include "writevalue.h"

#include <QDoubleSpinBox>
#include <QLocale>

#include <cmath>
#include <limits>

namespace {

struct TypeRange
{
    const char *type;
    double minimum;
    double maximum;
    int decimals;
};

// F32 spans its range in both directions. The 64-bit types and text are no
// numbers of a spin box: they are typed as text (valueTextValidator).
constexpr double FloatMax = double(std::numeric_limits<float>::max());
constexpr TypeRange Ranges[] = {
    {"F32", -FloatMax, FloatMax, 3},
    {"U32", 0.0, 4294967295.0, 0},
    {"S32", -2147483648.0, 2147483647.0, 0},
    {"U16", 0.0, 65535.0, 0},
    {"S16", -32768.0, 32767.0, 0},
    {"BIT", 0.0, 1.0, 0},
};

const TypeRange *rangeOf(const QString &type)
{
    for (const TypeRange &range : Ranges)
        if (type == QLatin1String(range.type))
            return &range;
    return nullptr;
}

// The number written with digits significant digits, rounded to nearest or
// cut towards zero.
QString withDigits(double value, int digits, bool cut)
{
    if (!cut)
        return QString::number(value, 'g', digits);
    const QString full = QString::number(value, 'e', 16); // -d.dddddddddddddddde+XX
    const int exponent = full.indexOf(QLatin1Char('e'));
    QString mantissa = full.left(exponent);
    const int point = mantissa.indexOf(QLatin1Char('.'));
    mantissa.truncate(digits == 1 ? point : point + digits);
    return QString::number((mantissa + full.mid(exponent)).toDouble(), 'g', digits);
}

// The shortest text that reads back to the same single-precision number and
// stays within the single-precision range as a real number, as the register
// driver checks it (the nearest 8-digit text of the largest F32 lies beyond).
QString shortestFloat(double value)
{
    const float single = float(value);
    if (!std::isfinite(single))
        return QString::number(double(single));
    for (int digits = 1; digits <= 9; ++digits) {
        for (const bool cut : {false, true}) {
            const QString text = withDigits(double(single), digits, cut);
            bool ok = false;
            const double real = text.toDouble(&ok);
            if (ok && std::fabs(real) <= double(std::numeric_limits<float>::max())
                && float(real) == single)
                return text;
        }
    }
    return QString::number(double(single), 'g', 9);
}

} // namespace

bool writeValue::applyType(QDoubleSpinBox *box, const QString &type)
{
    const TypeRange *range = rangeOf(type);
    if (!range)
        return false;
    box->setRange(range->minimum, range->maximum);
    box->setDecimals(range->decimals);
    return true;
}

QString writeValue::text(double value, const QString &type)
{
    const TypeRange *range = rangeOf(type);
    if (range && range->decimals == 0)
        return QString::number(qint64(std::llround(value)));
    if (type == QLatin1String("F32"))
        return shortestFloat(value);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool writeValue::isTyped(const QString &type)
{
    return type == QLatin1String("U64") || type == QLatin1String("S64")
        || type == QLatin1String("F64") || type == QLatin1String("STR");
}
