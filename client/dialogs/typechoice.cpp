#include "typechoice.h"

#include "registertypes.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QSpinBox>

namespace typeChoice {

void fillKinds(QComboBox *box, const QStringList &kinds)
{
    for (const QString &kind : kinds)
        box->addItem(registerTypes::kindLabel(kind), kind);
}

void fillOrders(QComboBox *box)
{
    for (const QString &order : registerTypes::orders())
        box->addItem(order, order);
    selectData(box, registerTypes::defaultOrder);
}

void selectData(QComboBox *box, const QString &value)
{
    const int index = box->findData(value);
    if (index >= 0)
        box->setCurrentIndex(index);
}

void offerTypes(QComboBox *types, const QString &kind)
{
    const QStringList offered = registerTypes::types(kind);
    const QString current = types->currentText();
    const QSignalBlocker blocker(types);
    types->clear();
    types->addItems(offered);
    types->setCurrentIndex(qMax(0, offered.indexOf(current)));
}

void enableFor(QComboBox *order, QSpinBox *length, const QString &type)
{
    order->setEnabled(registerTypes::hasOrder(type));
    length->setEnabled(type == registerTypes::text);
}

QString order(const QComboBox *box, const QString &type)
{
    return registerTypes::hasOrder(type) ? box->currentData().toString()
                                         : registerTypes::defaultOrder;
}

QString length(const QSpinBox *box, const QString &type)
{
    return type == registerTypes::text ? QString::number(box->value()) : QString();
}

} // namespace typeChoice
