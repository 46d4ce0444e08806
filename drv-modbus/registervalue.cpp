#include "registervalue.h"

#include "checks.h"
#include "numbers.h"
#include "translationcontext.h"

#include <QCoreApplication>
#include <QLocale>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr TranslationContext tr("RegisterValue");

// The line of a value that is a number but not one of the allowed whole
// numbers; the same wording as the range check of register addresses.
void appendRangeLine(const QString &text, const QString &low, const QString &high, QString *errors)
{
    if (!errors)
        return;
    *errors += "&nbsp;" + text + "&nbsp;"
        + QCoreApplication::translate("Checks", "is not a whole number from") + "&nbsp;" + low
        + "&nbsp;" + QCoreApplication::translate("Checks", "to") + "&nbsp;" + high + "<br>";
}

// A whole number of a typed write: a text that is no number at all gets the
// number-check line, a number that does not read as a whole number in range
// gets the range line.
bool wholeNumber(
    const QString &text, bool isSigned, qint64 low, qint64 high, qint64 *value, QString *errors)
{
    bool valid = false;
    if (isSigned) {
        *value = Numbers::toSigned(text, &valid);
    } else {
        const quint64 number = Numbers::toUnsigned(text, &valid);
        valid = valid && number <= quint64(high);
        *value = valid ? qint64(number) : 0;
    }
    if (valid && *value >= low && *value <= high)
        return true;
    if (Checks::numberCheck(text, errors))
        appendRangeLine(text, QString::number(low), QString::number(high), errors);
    return false;
}

// An unsigned 64-bit whole number: the whole range of quint64.
bool unsigned64(const QString &text, quint64 *value, QString *errors)
{
    bool valid = false;
    *value = Numbers::toUnsigned(text, &valid);
    if (valid)
        return true;
    if (Checks::numberCheck(text, errors))
        appendRangeLine(text, QStringLiteral("0"),
            QString::number(std::numeric_limits<quint64>::max()), errors);
    return false;
}

// A finite real number for a float of the given largest magnitude. The range
// is checked before the conversion: a double beyond the float range has no
// float value.
bool finiteReal(
    const QString &text, double largest, const char *typeName, double *value, QString *errors)
{
    bool valid = false;
    *value = Numbers::toReal(text, &valid);
    // A number beyond every double does not read; it is a number all the same.
    QString decimal = text;
    const bool overflows = !valid && std::isinf(decimal.replace(',', '.').toDouble());
    if (!valid && !overflows) {
        Checks::numberCheck(text, errors);
        return false;
    }
    if (overflows || !std::isfinite(*value) || std::fabs(*value) > largest) {
        if (errors)
            *errors += "&nbsp;" + text + "&nbsp;" + tr("is not a finite %1 value").arg(typeName)
                + "<br>";
        return false;
    }
    return true;
}

// "0x" and the magnitude in lower-case hexadecimal, the sign after the
// prefix; the most negative value has no positive counterpart in qint64.
QString hexText(qint64 value)
{
    if (value >= 0)
        return "0x" + QString::number(value, 16);
    return "0x-" + QString::number(quint64(-(value + 1)) + 1, 16);
}

// The bits of a value of a typed write, in its type's width.
bool valueBits(ValueType type, const QString &text, quint64 *bits, QString *errors)
{
    qint64 value = 0;
    switch (type) {
    case ValueType::Bit:
        if (!wholeNumber(text, false, 0, 1, &value, errors))
            return false;
        *bits = quint64(value);
        return true;
    case ValueType::U16:
        if (!wholeNumber(text, false, 0, 0xFFFF, &value, errors))
            return false;
        *bits = quint64(value);
        return true;
    case ValueType::S16:
        if (!wholeNumber(text, true, -0x8000, 0x7FFF, &value, errors))
            return false;
        *bits = quint16(qint16(value));
        return true;
    case ValueType::U32:
        if (!wholeNumber(text, false, 0, 0xFFFFFFFFLL, &value, errors))
            return false;
        *bits = quint64(value);
        return true;
    case ValueType::S32:
        if (!wholeNumber(text, true, -0x80000000LL, 0x7FFFFFFF, &value, errors))
            return false;
        *bits = quint32(qint32(value));
        return true;
    case ValueType::U64:
        return unsigned64(text, bits, errors);
    case ValueType::S64:
        if (!wholeNumber(text, true, std::numeric_limits<qint64>::min(),
                std::numeric_limits<qint64>::max(), &value, errors))
            return false;
        *bits = quint64(value);
        return true;
    case ValueType::F32: {
        double real = 0;
        if (!finiteReal(text, double(FLT_MAX), "F32", &real, errors))
            return false;
        const float single = float(real);
        quint32 raw = 0;
        std::memcpy(&raw, &single, sizeof raw);
        *bits = raw;
        return true;
    }
    case ValueType::F64: {
        double real = 0;
        if (!finiteReal(text, DBL_MAX, "F64", &real, errors))
            return false;
        std::memcpy(bits, &real, sizeof *bits);
        return true;
    }
    }
    return false;
}

} // namespace

namespace RegisterValue {

int registerCount(ValueType type)
{
    switch (type) {
    case ValueType::U32:
    case ValueType::S32:
    case ValueType::F32:
        return 2;
    case ValueType::U64:
    case ValueType::S64:
    case ValueType::F64:
        return 4;
    default:
        return 1;
    }
}

bool hasByteOrder(ValueType type)
{
    return registerCount(type) > 1;
}

bool toWords(
    ValueType type, const QString &text, QVector<quint16> *words, QString *errors, ByteOrder order)
{
    words->clear();
    quint64 bits = 0;
    if (!valueBits(type, text, &bits, errors))
        return false;
    *words = ByteOrders::toWords(bits, registerCount(type), order);
    return true;
}

QString toText(ValueType type, const QVector<quint16> &words, bool hex, ByteOrder order)
{
    const quint64 bits = ByteOrders::fromWords(words, registerCount(type), order);
    qint64 value = 0;
    switch (type) {
    case ValueType::Bit:
        return bits ? QStringLiteral("1") : QStringLiteral("0");
    case ValueType::U16:
    case ValueType::U32:
        value = qint64(bits);
        break;
    case ValueType::S16:
        value = qint16(quint16(bits));
        break;
    case ValueType::S32:
        value = qint32(quint32(bits));
        break;
    case ValueType::U64:
        return hex ? "0x" + QString::number(bits, 16) : QString::number(bits);
    case ValueType::S64:
        value = qint64(bits);
        break;
    case ValueType::F32: {
        if (hex)
            return hexText(qint64(bits));
        const quint32 raw = quint32(bits);
        float single = 0;
        std::memcpy(&single, &raw, sizeof single);
        return QString::number(double(single), 'g', 6);
    }
    case ValueType::F64: {
        if (hex)
            return "0x" + QString::number(bits, 16);
        double real = 0;
        std::memcpy(&real, &bits, sizeof real);
        return QString::number(real, 'g', QLocale::FloatingPointShortest);
    }
    }
    return hex ? hexText(value) : QString::number(value);
}

bool toWord(const QString &text, quint16 *word, QString *errors, quint16 largest)
{
    qint64 value = 0;
    if (!wholeNumber(text, false, 0, largest, &value, errors))
        return false;
    *word = quint16(value);
    return true;
}

bool toSingleWord(const QString &text, quint16 *word, QString *errors)
{
    qint64 value = 0;
    if (!wholeNumber(text, true, -0x8000, 0xFFFF, &value, errors))
        return false;
    *word = quint16(value);
    return true;
}

} // namespace RegisterValue
