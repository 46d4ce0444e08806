#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;

// Reading and writing the fields of a macro parameter text: decimal numbers separated by
// single blanks, one number per control (a list its item code, a spin box its value, a group
// of check boxes one bit mask).
namespace MacroFields {

// Splits a parameter text at every single blank, keeping empty fields: two blanks in a row
// give an empty field between them, a blank at either end an empty field at that end, and the
// empty text one empty field.
QStringList split(const QString &text);

// Joins numbers in decimal, without leading zeros, by single blanks.
QString join(const QList<int> &numbers);

// A field as a signed decimal integer. A field that is not a number gives 0; a number beyond
// the range of int is clamped to it, so that a spin box clamps it further to its own range.
int number(const QString &field);

// A field as an unsigned decimal bit mask; a field that is not a number, or a negative one,
// gives 0.
quint64 mask(const QString &field);

// Code of the current item of a list: its position, or the code an unknown code added.
int listCode(const QComboBox *list);

// Selects the item with the given code. A code that the list does not hold (a stored text
// written for another device or by hand) is added as an item of its own showing the number,
// so that reading a text back and writing it again never changes a code behind the user's
// back. A negative code is no code at all and selects the first item.
void selectListCode(QComboBox *list, int code);

// Bit mask of check boxes: the n-th box (counted from 0) contributes bit n when checked.
int checkMask(const QList<QCheckBox *> &boxes);

// Checks the n-th box exactly when bit n of the mask is set; higher bits are ignored.
void setCheckMask(const QList<QCheckBox *> &boxes, quint64 mask);

} // namespace MacroFields
