#pragma once

#include <QString>

// The text a read request shows for the value its driver printed, by the
// request's display format: "F_X" and unknown formats show the value as it
// is; "F_X_X" to "F_X_XXXX" put a decimal point before the last one to four
// digits of the value read as a whole number (4567 in "F_X_XX" shows 45.67,
// -205 shows -2.05). A value that is not a whole number counts as 0.
QString formatReadValue(const QString &value, const QString &format);

// The digits a display format puts after the point: 1 for "F_X_X" to 4 for
// "F_X_XXXX", 0 for "F_X" and any other text.
int formatDigits(const QString &format);
