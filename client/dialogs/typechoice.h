#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QSpinBox;

// The controls of the read and write dialogs that choose what a request
// reads or writes: the kind of register (its name as item data), the data
// types of the kind, the byte order of 32- and 64-bit types and the
// registers of a text.
namespace typeChoice {

// The kinds, shown by their names for the user; the first is selected.
void fillKinds(QComboBox *box, const QStringList &kinds);
// ABCD, BADC, CDAB, DCBA; the default, CDAB, selected.
void fillOrders(QComboBox *box);
// Selects the item whose data is value; nothing changes when none has it.
void selectData(QComboBox *box, const QString &value);
// Offers the types of the kind, keeping the type shown when the kind has
// it, otherwise the kind's first; without the signals of the change.
void offerTypes(QComboBox *types, const QString &kind);
// Enables the order for 32- and 64-bit types and the registers for text.
void enableFor(QComboBox *order, QSpinBox *length, const QString &type);
// The order chosen for a type that has one; the default for the others.
QString order(const QComboBox *box, const QString &type);
// The registers chosen for a text; empty for the other types.
QString length(const QSpinBox *box, const QString &type);

} // namespace typeChoice
