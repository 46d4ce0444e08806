#pragma once

#include <QString>

#include <optional>
#include <string>

// A decimal number held exactly: a sign, the digits of its magnitude and the
// power of ten of the last digit. Scaled register values are worked out in
// it, so that a 64-bit raw value times 0.01 loses no digit and a written
// value is known to land on a whole raw value or not, which doubles cannot
// tell. Numbers read from texts are bounded (40 digits, exponents within
// ±40), so no result grows without limit.
class exactDecimal
{
public:
    exactDecimal() = default;
    static exactDecimal fromInteger(qint64 value);
    static exactDecimal fromUnsigned(quint64 value);
    // "12", "-0.5", "12,5" (a decimal comma), "1e-3", "+3"; nothing for
    // anything else, for more than 40 digits or an exponent beyond ±40.
    static std::optional<exactDecimal> parse(const QString &text);

    exactDecimal operator+(const exactDecimal &other) const;
    exactDecimal operator-(const exactDecimal &other) const;
    exactDecimal operator*(const exactDecimal &other) const;
    // The whole number this / divisor, nothing when the quotient is not a
    // whole number or the divisor is zero.
    std::optional<exactDecimal> wholeQuotient(const exactDecimal &divisor) const;
    // this / divisor cut to at least significant digits (0 for a divisor
    // of 0).
    exactDecimal quotient(const exactDecimal &divisor, int significant) const;
    // this × 10^power.
    exactDecimal shifted(int power) const;

    bool isZero() const { return digits == "0"; }
    bool isNegative() const { return negative; }
    bool isWhole() const { return exponent >= 0; }
    // -1, 0 or 1 as this is less than, equal to or greater than other.
    int compare(const exactDecimal &other) const;
    bool operator==(const exactDecimal &other) const { return compare(other) == 0; }
    bool operator<(const exactDecimal &other) const { return compare(other) < 0; }

    // Plain notation with a point, at least fractionDigits digits after it:
    // "-1234.5", "0.050" for 0.05 with 3.
    QString toString(int fractionDigits = 0) const;
    double toDouble() const;

private:
    exactDecimal(bool negative, std::string digits, int exponent);
    void normalize();

    bool negative = false;
    std::string digits = "0"; // most significant first, no leading zeros
    int exponent = 0; // the value is digits × 10^exponent
};
