#pragma once

#include "writevalues.h"

#include <QObject>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class scalingFields;
class valueTextValidator;

// The controls of the write dialogs and how they follow one another: the
// kind offers its types (BIT for a coil), the type sets the range of the
// value's spin box or, for 64-bit types and text, shows a text field in its
// place, enables the byte order of 32- and 64-bit types, the registers of a
// text and function 6 for U16 and S16. With an engineering value (scale or
// offset set) the value is typed as a number in the text field, and it must
// land on a raw value of the type. A typed value that the type does not take
// keeps OK disabled with the reason shown, so nothing unchecked reaches the
// driver.
class writeFields : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QComboBox *kind;
        QComboBox *type;
        QComboBox *order;
        QSpinBox *length;
        QSpinBox *address;
        QDoubleSpinBox *value;
        QLineEdit *text;
        QCheckBox *single;
        QPushButton *ok; // enabled while the value is one of the type
        scalingFields *scaling = nullptr; // none in a dialog without scaling
    };

    writeFields(const Controls &controls, QObject *parent);

    // The value as the driver receives it: the spin box's (writeValue::text)
    // or the text field's as typed.
    QString value() const;
    // The write the controls hold, without a description.
    writeValues values() const;
    // Presets the controls: address, kind, order, registers, type, value.
    void setValues(const writeValues &values);
    // Selects the type and updates the dependent controls even when the
    // type does not change.
    void setType(const QString &type);
    void typeChange(const QString &type);

private:
    void kindChange();
    // The value is typed into the text field: a 64-bit type, a text, or an
    // engineering value.
    bool typesText() const;
    void scalingChange();
    // OK only for a value the type takes: a whole 64-bit number in range, a
    // finite F64, a text that fits its registers, an engineering value with
    // a raw value.
    void updateAcceptance();

    Controls controls;
    valueTextValidator *validator;
};
