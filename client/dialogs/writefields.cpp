#include "writefields.h"

#include "registertypes.h"
#include "typechoice.h"
#include "valuetextvalidator.h"
#include "writevalue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

writeFields::writeFields(const Controls &controls, QObject *parent)
    : QObject(parent)
    , controls(controls)
    , validator(new valueTextValidator(this))
{
    typeChoice::fillKinds(controls.kind, registerTypes::writeKinds());
    typeChoice::fillOrders(controls.order);
    controls.text->setValidator(validator);
    connect(controls.type, &QComboBox::currentTextChanged, this, &writeFields::typeChange);
    connect(controls.kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &writeFields::kindChange);
    // A text longer than the registers now hold is kept, never cut: OK
    // waits until it is shortened or the registers are more.
    connect(
        controls.length, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int registers) {
            validator->setType(this->controls.type->currentText(), registers);
            updateAcceptance();
        });
    connect(controls.text, &QLineEdit::textChanged, this, &writeFields::updateAcceptance);
    typeChange(controls.type->currentText());
}

QString writeFields::value() const
{
    const QString type = controls.type->currentText();
    if (writeValue::isTyped(type))
        return controls.text->text();
    return writeValue::text(controls.value->value(), type);
}

writeValues writeFields::values() const
{
    writeValues values;
    values.type = controls.type->currentText();
    values.addr = QString::number(controls.address->value());
    values.value = value();
    values.desc.clear();
    values.kind = controls.kind->currentData().toString();
    values.order = typeChoice::order(controls.order, values.type);
    values.length = typeChoice::length(controls.length, values.type);
    values.single = controls.single->isEnabled() && controls.single->isChecked();
    return values;
}

void writeFields::setValues(const writeValues &values)
{
    controls.address->setValue(values.addr.toInt());
    typeChoice::selectData(controls.kind, values.kind);
    typeChoice::selectData(controls.order, values.order);
    controls.length->setValue(values.length.toInt());
    setType(values.type);
    if (writeValue::isTyped(values.type))
        controls.text->setText(values.value);
    else
        controls.value->setValue(values.value.toDouble());
    controls.single->setChecked(values.single);
}

void writeFields::setType(const QString &type)
{
    controls.type->setCurrentText(type);
    typeChange(type);
}

void writeFields::typeChange(const QString &type)
{
    writeValue::applyType(controls.value, type);
    const bool typed = writeValue::isTyped(type);
    controls.value->setVisible(!typed);
    controls.text->setVisible(typed);
    typeChoice::enableFor(controls.order, controls.length, type);
    controls.single->setEnabled(registerTypes::takesSingleWrite(type));
    validator->setType(type, controls.length->value());
    // A value typed for another type (a text where a number is due) is no
    // value of this one.
    QString entered = controls.text->text();
    int position = 0;
    if (validator->validate(entered, position) != QValidator::Acceptable)
        controls.text->clear();
    updateAcceptance();
}

void writeFields::updateAcceptance()
{
    const bool typed = writeValue::isTyped(controls.type->currentText());
    controls.ok->setEnabled(!typed || controls.text->hasAcceptableInput());
}

void writeFields::kindChange()
{
    typeChoice::offerTypes(controls.type, controls.kind->currentData().toString());
    typeChange(controls.type->currentText());
}
