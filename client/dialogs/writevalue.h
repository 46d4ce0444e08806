#pragma once

#include <QString>

class QDoubleSpinBox;

// The value of a register write: the range of its spin box per data type and
// its text for the driver's --data option.
class writeValue
{
public:
    // Sets the range and then the decimals of box for the type ("F32", "U32",
    // "S32", "U16", "S16", "BIT"); another type changes nothing and gives
    // false.
    static bool applyType(QDoubleSpinBox *box, const QString &type);

    // The value as the driver reads it back unchanged: integer types as the
    // exact decimal integer, F32 as the shortest text that reads back to the
    // same single-precision number.
    static QString text(double value, const QString &type);

    // Whether the type's value is typed as text rather than chosen in a
    // spin box: the 64-bit types, which a spin box of doubles does not hold
    // exactly or in a field of sensible width, and text.
    static bool isTyped(const QString &type);
};
