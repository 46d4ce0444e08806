#include "exactdecimal.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int MaxDigits = 40;
constexpr int MaxExponent = 40;

// Magnitudes as digit strings, most significant first, without leading
// zeros ("0" for zero).
void stripLeadingZeros(std::string *digits)
{
    const size_t first = digits->find_first_not_of('0');
    if (first == std::string::npos)
        *digits = "0";
    else
        digits->erase(0, first);
}

int compareMagnitudes(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int order = a.compare(b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::string addMagnitudes(const std::string &a, const std::string &b)
{
    std::string sum;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        int digit = carry;
        if (i < a.size())
            digit += a[a.size() - 1 - i] - '0';
        if (i < b.size())
            digit += b[b.size() - 1 - i] - '0';
        sum.push_back(char('0' + digit % 10));
        carry = digit / 10;
    }
    std::reverse(sum.begin(), sum.end());
    stripLeadingZeros(&sum);
    return sum;
}

// a - b for a >= b.
std::string subtractMagnitudes(const std::string &a, const std::string &b)
{
    std::string difference;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int digit = a[a.size() - 1 - i] - '0' - borrow;
        if (i < b.size())
            digit -= b[b.size() - 1 - i] - '0';
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(char('0' + digit + 10 * borrow));
    }
    std::reverse(difference.begin(), difference.end());
    stripLeadingZeros(&difference);
    return difference;
}

std::string multiplyMagnitudes(const std::string &a, const std::string &b)
{
    std::string product(a.size() + b.size(), 0);
    for (size_t i = a.size(); i-- > 0;) {
        int carry = 0;
        for (size_t j = b.size(); j-- > 0;) {
            const int digit = product[i + j + 1] + (a[i] - '0') * (b[j] - '0') + carry;
            product[i + j + 1] = char(digit % 10);
            carry = digit / 10;
        }
        product[i] = char(product[i] + carry);
    }
    for (char &digit : product)
        digit = char(digit + '0');
    stripLeadingZeros(&product);
    return product;
}

// Long division; the remainder is left in *remainder.
std::string divideMagnitudes(
    const std::string &dividend, const std::string &divisor, std::string *remainder)
{
    std::string quotient;
    std::string rest = "0";
    for (const char digit : dividend) {
        rest = rest == "0" ? std::string(1, digit) : rest + digit;
        char count = '0';
        while (compareMagnitudes(rest, divisor) >= 0) {
            rest = subtractMagnitudes(rest, divisor);
            ++count;
        }
        quotient.push_back(count);
    }
    stripLeadingZeros(&quotient);
    *remainder = rest;
    return quotient;
}

} // namespace

exactDecimal::exactDecimal(bool negative, std::string digits, int exponent)
    : negative(negative)
    , digits(std::move(digits))
    , exponent(exponent)
{
    normalize();
}

void exactDecimal::normalize()
{
    stripLeadingZeros(&digits);
    if (digits == "0") {
        negative = false;
        exponent = 0;
        return;
    }
    const size_t last = digits.find_last_not_of('0');
    exponent += int(digits.size() - 1 - last);
    digits.erase(last + 1);
}

exactDecimal exactDecimal::fromInteger(qint64 value)
{
    // The magnitude in unsigned arithmetic, which also holds -2^63.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return exactDecimal(value < 0, std::to_string(magnitude), 0);
}

exactDecimal exactDecimal::fromUnsigned(quint64 value)
{
    return exactDecimal(false, std::to_string(value), 0);
}

std::optional<exactDecimal> exactDecimal::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    int at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed[at] == '-' || trimmed[at] == '+'))
        negative = trimmed[at++] == '-';
    std::string digits;
    int fraction = 0;
    bool point = false;
    for (; at < trimmed.size(); ++at) {
        const QChar c = trimmed[at];
        if (c >= '0' && c <= '9') {
            digits.push_back(char(c.unicode()));
            if (point)
                ++fraction;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.empty())
        return std::nullopt;
    int power = 0;
    if (at < trimmed.size() && (trimmed[at] == 'e' || trimmed[at] == 'E')) {
        bool ok = false;
        power = trimmed.mid(at + 1).toInt(&ok);
        if (!ok || trimmed.mid(at + 1).startsWith(QLatin1Char(' ')) || std::abs(power) > 1000)
            return std::nullopt;
        at = trimmed.size();
    }
    if (at != trimmed.size())
        return std::nullopt;
    exactDecimal number(negative, digits, power - fraction);
    if (number.digits.size() > size_t(MaxDigits) || std::abs(number.exponent) > MaxExponent)
        return std::nullopt;
    return number;
}

exactDecimal exactDecimal::operator+(const exactDecimal &other) const
{
    // Zero has no place of its last digit to align with.
    if (isZero())
        return other;
    if (other.isZero())
        return *this;
    const int common = std::min(exponent, other.exponent);
    const std::string a = digits + std::string(size_t(exponent - common), '0');
    const std::string b = other.digits + std::string(size_t(other.exponent - common), '0');
    if (negative == other.negative)
        return exactDecimal(negative, addMagnitudes(a, b), common);
    const int order = compareMagnitudes(a, b);
    if (order == 0)
        return exactDecimal();
    return order > 0 ? exactDecimal(negative, subtractMagnitudes(a, b), common)
                     : exactDecimal(other.negative, subtractMagnitudes(b, a), common);
}

exactDecimal exactDecimal::operator-(const exactDecimal &other) const
{
    exactDecimal negated = other;
    negated.negative = !other.negative && !other.isZero();
    return *this + negated;
}

exactDecimal exactDecimal::operator*(const exactDecimal &other) const
{
    return exactDecimal(negative != other.negative, multiplyMagnitudes(digits, other.digits),
        exponent + other.exponent);
}

std::optional<exactDecimal> exactDecimal::wholeQuotient(const exactDecimal &divisor) const
{
    if (divisor.isZero())
        return std::nullopt;
    // (d × 10^a) / (s × 10^b): the powers of ten go to the side where they
    // make whole numbers.
    const int power = exponent - divisor.exponent;
    const std::string dividend = power > 0 ? digits + std::string(size_t(power), '0') : digits;
    const std::string by
        = power < 0 ? divisor.digits + std::string(size_t(-power), '0') : divisor.digits;
    std::string remainder;
    const std::string quotient = divideMagnitudes(dividend, by, &remainder);
    if (remainder != "0")
        return std::nullopt;
    return exactDecimal(negative != divisor.negative, quotient, 0);
}

exactDecimal exactDecimal::quotient(const exactDecimal &divisor, int significant) const
{
    if (divisor.isZero() || isZero())
        return exactDecimal();
    // Zeros after the dividend give the quotient its digits.
    const int zeros
        = std::max(0, significant + int(divisor.digits.size()) - int(digits.size()) + 1);
    std::string remainder;
    const std::string quotient
        = divideMagnitudes(digits + std::string(size_t(zeros), '0'), divisor.digits, &remainder);
    return exactDecimal(
        negative != divisor.negative, quotient, exponent - divisor.exponent - zeros);
}

exactDecimal exactDecimal::shifted(int power) const
{
    return exactDecimal(negative, digits, isZero() ? 0 : exponent + power);
}

int exactDecimal::compare(const exactDecimal &other) const
{
    const exactDecimal difference = *this - other;
    return difference.isZero() ? 0 : difference.negative ? -1 : 1;
}

QString exactDecimal::toString(int fractionDigits) const
{
    std::string text;
    if (exponent >= 0) {
        text = digits + std::string(size_t(exponent), '0');
        if (fractionDigits > 0)
            text += '.' + std::string(size_t(fractionDigits), '0');
    } else {
        const size_t fraction = size_t(-exponent);
        std::string padded = digits;
        if (padded.size() <= fraction)
            padded.insert(0, fraction + 1 - padded.size(), '0');
        text = padded.substr(0, padded.size() - fraction) + '.'
            + padded.substr(padded.size() - fraction);
        if (int(fraction) < fractionDigits)
            text += std::string(size_t(fractionDigits) - fraction, '0');
    }
    return (negative ? QStringLiteral("-") : QString()) + QString::fromStdString(text);
}

double exactDecimal::toDouble() const
{
    return (QString::fromStdString(negative ? "-" + digits : digits) + QLatin1Char('e')
        + QString::number(exponent))
        .toDouble();
}
