#include "registervalue.h"

#include "checks.h"
#include "numbers.h"
#include "translationcontext.h"

#include <QCoreApplication>

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr TranslationContext tr("RegisterValue");

// The line of a value that is a number but not one of the allowed whole
// numbers; the same wording as the range check of register addresses.
void appendRangeLine(const QString &text, qint64 low, qint64 high, QString *errors)
{
    if (!errors)
        return;
    *errors += "&nbsp;" + text + "&nbsp;"
        + QCoreApplication::translate("Checks", "is not a whole number from") + "&nbsp;"
        + QString::number(low) + "&nbsp;" + QCoreApplication::translate("Checks", "to") + "&nbsp;"
        + QString::number(high) + "<br>";
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
        appendRangeLine(text, low, high, errors);
    return false;
}

quint32 joined(const QVector<quint16> &words)
{
    return quint32(words.value(0)) | (quint32(words.value(1)) << 16);
}

QString hexText(qint64 value)
{
    return value < 0 ? "0x-" + QString::number(-value, 16) : "0x" + QString::number(value, 16);
}

} // namespace

namespace RegisterValue {

int registerCount(ValueType type)
{
    return type == ValueType::U16 || type == ValueType::S16 ? 1 : 2;
}

bool toWords(ValueType type, const QString &text, QVector<quint16> *words, QString *errors)
{
    words->clear();
    qint64 value = 0;
    quint32 bits = 0;
    switch (type) {
    case ValueType::U16:
        if (!wholeNumber(text, false, 0, 0xFFFF, &value, errors))
            return false;
        bits = quint32(value);
        break;
    case ValueType::S16:
        if (!wholeNumber(text, true, -0x8000, 0x7FFF, &value, errors))
            return false;
        bits = quint16(qint16(value));
        break;
    case ValueType::U32:
        if (!wholeNumber(text, false, 0, 0xFFFFFFFFLL, &value, errors))
            return false;
        bits = quint32(value);
        break;
    case ValueType::S32:
        if (!wholeNumber(text, true, -0x80000000LL, 0x7FFFFFFF, &value, errors))
            return false;
        bits = quint32(qint32(value));
        break;
    case ValueType::F32: {
        bool valid = false;
        const double real = Numbers::toReal(text, &valid);
        if (!valid) {
            Checks::numberCheck(text, errors);
            return false;
        }
        // The range is checked before the conversion: a double beyond the
        // float range has no float value.
        if (!std::isfinite(real) || std::fabs(real) > double(FLT_MAX)) {
            if (errors)
                *errors += "&nbsp;" + text + "&nbsp;" + tr("is not a finite F32 value") + "<br>";
            return false;
        }
        const float single = float(real);
        std::memcpy(&bits, &single, sizeof bits);
        break;
    }
    }
    words->append(quint16(bits & 0xFFFF));
    if (registerCount(type) == 2)
        words->append(quint16(bits >> 16));
    return true;
}

QString toText(ValueType type, const QVector<quint16> &words, bool hex)
{
    const quint32 bits = joined(words);
    qint64 value = 0;
    switch (type) {
    case ValueType::U16:
        value = quint16(bits);
        break;
    case ValueType::S16:
        value = qint16(quint16(bits));
        break;
    case ValueType::U32:
        value = bits;
        break;
    case ValueType::S32:
        value = qint32(bits);
        break;
    case ValueType::F32: {
        if (hex)
            return hexText(bits);
        float single = 0;
        std::memcpy(&single, &bits, sizeof single);
        return QString::number(double(single), 'g', 6);
    }
    }
    return hex ? hexText(value) : QString::number(value);
}

bool toWord(const QString &text, quint16 *word, QString *errors)
{
    qint64 value = 0;
    if (!wholeNumber(text, false, 0, 0xFFFF, &value, errors))
        return false;
    *word = quint16(value);
    return true;
}

} // namespace RegisterValue
