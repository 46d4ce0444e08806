#include "writefields.h"

#include "registertypes.h"
#include "scalingfields.h"
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
    if (controls.scaling)
        connect(controls.scaling, &scalingFields::changed, this, &writeFields::scalingChange);
    typeChange(controls.type->currentText());
}

QString writeFields::value() const
{
    const QString type = controls.type->currentText();
    if (writeValue::isTyped(type))
        return controls.text->text();
    // An engineering value, kept with a decimal point.
    if (typesText())
        return controls.text->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
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
    if (controls.scaling)
        values.scaling = controls.scaling->values();
    return values;
}

void writeFields::setValues(const writeValues &values)
{
    controls.address->setValue(values.addr.toInt());
    typeChoice::selectData(controls.kind, values.kind);
    typeChoice::selectData(controls.order, values.order);
    controls.length->setValue(values.length.toInt());
    if (controls.scaling)
        controls.scaling->setValues(values.scaling);
    setType(values.type);
    if (typesText())
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
    if (controls.scaling)
        controls.scaling->setType(type);
    const bool typed = typesText();
    controls.value->setVisible(!typed);
    controls.text->setVisible(typed);
    typeChoice::enableFor(controls.order, controls.length, type);
    controls.single->setEnabled(registerTypes::takesSingleWrite(type));
    // An engineering value is any finite number; whether it has a raw value
    // is checked as a whole.
    validator->setType(typed && !writeValue::isTyped(type) ? QStringLiteral("F64") : type,
        controls.length->value());
    // A value typed for another type (a text where a number is due) is no
    // value of this one.
    QString entered = controls.text->text();
    int position = 0;
    if (validator->validate(entered, position) != QValidator::Acceptable)
        controls.text->clear();
    updateAcceptance();
}

bool writeFields::typesText() const
{
    return writeValue::isTyped(controls.type->currentText())
        || (controls.scaling && controls.scaling->values().converts());
}

void writeFields::scalingChange()
{
    // The spin box's value goes over to the text field when a scaling
    // makes the value of a type the box takes one typed as text.
    const QString type = controls.type->currentText();
    const bool wasText = controls.text->isVisibleTo(controls.text->parentWidget());
    const QString spun = writeValue::text(controls.value->value(), type);
    typeChange(type);
    if (!wasText && !writeValue::isTyped(type) && typesText() && controls.text->text().isEmpty())
        controls.text->setText(spun);
}

void writeFields::updateAcceptance()
{
    const bool typed = typesText();
    bool acceptable = !typed || controls.text->hasAcceptableInput();
    if (controls.scaling) {
        const writeValues request = values();
        QString problem = request.scaling.problem(request.type);
        if (problem.isEmpty() && acceptable)
            request.rawValue(&problem);
        controls.scaling->showProblem(problem);
        acceptable = acceptable && problem.isEmpty();
    }
    controls.ok->setEnabled(acceptable);
}

void writeFields::kindChange()
{
    typeChoice::offerTypes(controls.type, controls.kind->currentData().toString());
    typeChange(controls.type->currentText());
}
