#include "engineeringscale.h"

#include "exactdecimal.h"

#include <QLocale>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString scaleKey = QStringLiteral("scale");
const QString offsetKey = QStringLiteral("offset");
const QString unitKey = QStringLiteral("unit");

// The range of an integer type, nothing for another type.
struct integerRange
{
    exactDecimal lowest;
    exactDecimal highest;
};

std::optional<integerRange> rangeOf(const QString &type)
{
    const QString name = type.toUpper();
    if (name == QLatin1String("U16"))
        return integerRange {exactDecimal::fromInteger(0), exactDecimal::fromInteger(0xFFFF)};
    if (name == QLatin1String("S16"))
        return integerRange {exactDecimal::fromInteger(-0x8000), exactDecimal::fromInteger(0x7FFF)};
    if (name == QLatin1String("U32"))
        return integerRange {exactDecimal::fromInteger(0), exactDecimal::fromInteger(0xFFFFFFFF)};
    if (name == QLatin1String("S32"))
        return integerRange {exactDecimal::fromInteger(std::numeric_limits<qint32>::min()),
            exactDecimal::fromInteger(std::numeric_limits<qint32>::max())};
    if (name == QLatin1String("U64"))
        return integerRange {exactDecimal::fromInteger(0),
            exactDecimal::fromUnsigned(std::numeric_limits<quint64>::max())};
    if (name == QLatin1String("S64"))
        return integerRange {exactDecimal::fromInteger(std::numeric_limits<qint64>::min()),
            exactDecimal::fromInteger(std::numeric_limits<qint64>::max())};
    return std::nullopt;
}

// The largest magnitude of a float type, 0 for another type.
double floatLimit(const QString &type)
{
    const QString name = type.toUpper();
    if (name == QLatin1String("F32"))
        return double(FLT_MAX);
    if (name == QLatin1String("F64"))
        return DBL_MAX;
    return 0;
}

exactDecimal valueOr(const QString &text, qint64 fallback)
{
    return exactDecimal::parse(text).value_or(exactDecimal::fromInteger(fallback));
}

} // namespace

bool engineeringScale::operator==(const engineeringScale &other) const
{
    return scale == other.scale && offset == other.offset && unit == other.unit;
}

engineeringScale engineeringScale::fromJson(const QJsonObject &object)
{
    engineeringScale values;
    values.scale = object.value(scaleKey).toString();
    values.offset = object.value(offsetKey).toString();
    values.unit = object.value(unitKey).toString();
    return values;
}

void engineeringScale::writeJson(QJsonObject *object) const
{
    if (!scale.isEmpty())
        object->insert(scaleKey, scale);
    if (!offset.isEmpty())
        object->insert(offsetKey, offset);
    if (!unit.isEmpty())
        object->insert(unitKey, unit);
}

QStringList engineeringScale::fingerprinted() const
{
    QStringList fields;
    if (!scale.isEmpty())
        fields << scaleKey << scale;
    if (!offset.isEmpty())
        fields << offsetKey << offset;
    if (!unit.isEmpty())
        fields << unitKey << unit;
    return fields;
}

QVector<valueField> engineeringScale::fields() const
{
    return {{"scale", scale, valueField::Text}, {"offset", offset, valueField::Text},
        {"unit", unit, valueField::Text}};
}

bool engineeringScale::isScalable(const QString &type)
{
    return rangeOf(type) || floatLimit(type) > 0;
}

QString engineeringScale::problem(const QString &type) const
{
    if (isEmpty())
        return QString();
    if (!isScalable(type))
        return tr("a value of type %1 has no scale, offset or unit").arg(type);
    if (!scale.isEmpty()) {
        const std::optional<exactDecimal> factor = exactDecimal::parse(scale);
        if (!factor)
            return tr("the scale %1 is not a number").arg(scale);
        if (factor->isZero())
            return tr("the scale must not be 0");
    }
    if (!offset.isEmpty() && !exactDecimal::parse(offset))
        return tr("the offset %1 is not a number").arg(offset);
    return QString();
}

QString engineeringScale::engineering(
    const QString &raw, const QString &type, int formatDigits) const
{
    if (!converts() || !problem(type).isEmpty())
        return raw;
    if (rangeOf(type)) {
        const std::optional<exactDecimal> value = exactDecimal::parse(raw);
        if (!value)
            return raw;
        const exactDecimal result = *value * valueOr(scale, 1) + valueOr(offset, 0);
        return result.shifted(-formatDigits).toString(formatDigits);
    }
    bool ok = false;
    const double value = QString(raw).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return raw;
    const double result = value * valueOr(scale, 1).toDouble() + valueOr(offset, 0).toDouble();
    // Fifteen digits: what a double holds of a decimal, without the tail of
    // its binary rounding (0.1 × 3 shows 0.3).
    return QString::number(result, 'g', 15);
}

QString engineeringScale::withUnit(const QString &text) const
{
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

QString engineeringScale::rawValue(const QString &value, const QString &type, QString *error) const
{
    error->clear();
    if (!converts())
        return value;
    *error = problem(type);
    if (!error->isEmpty())
        return QString();
    const std::optional<exactDecimal> wanted = exactDecimal::parse(value);
    if (!wanted) {
        *error = tr("%1 is not a number").arg(value);
        return QString();
    }
    const exactDecimal factor = valueOr(scale, 1);
    const exactDecimal shift = valueOr(offset, 0);
    if (const std::optional<integerRange> range = rangeOf(type)) {
        const std::optional<exactDecimal> raw = (*wanted - shift).wholeQuotient(factor);
        if (!raw) {
            *error = tr("%1 is not a whole raw value: (%1 − %2) / %3 has a fraction")
                         .arg(value, shift.toString(), factor.toString());
            return QString();
        }
        if (*raw < range->lowest || range->highest < *raw) {
            *error = tr("%1 gives the raw value %2, outside %3 to %4 of %5")
                         .arg(value, raw->toString(), range->lowest.toString(),
                             range->highest.toString(), type.toUpper());
            return QString();
        }
        return raw->toString();
    }
    // Worked out exactly to more digits than a double holds, so that the
    // double is the one nearest to the quotient.
    const double raw = (*wanted - shift).quotient(factor, 25).toDouble();
    if (!std::isfinite(raw) || std::fabs(raw) > floatLimit(type)) {
        *error = tr("%1 gives a raw value outside the range of %2").arg(value, type.toUpper());
        return QString();
    }
    return QString::number(raw, 'g', QLocale::FloatingPointShortest);
}
