#pragma once

#include "writevalues.h"

#include <QDialog>

class writeFields;

namespace Ui {
class addWriteData;
}

// A stored write request: kind of register (holding or coil), data type,
// byte order, registers of a text, register address, value, function 6,
// description and the engineering value (scale, offset, unit; the value is
// then typed as the engineering value). The controls follow one another as
// writeFields has them.
class addWriteData : public QDialog
{
    Q_OBJECT

public:
    explicit addWriteData(QWidget *parent = nullptr);
    ~addWriteData() override;

    QString type() const;
    QString address() const;
    // The full value: exact integers, the shortest F32 text that reads back
    // to the same single-precision number, a 64-bit value or text as typed.
    QString value() const;
    QString desc() const;
    // Fingerprint of desc(), type(), address(), value().
    QString hash() const;
    // The write request the dialog holds.
    writeValues values() const;

    // Presets from a stored request; the type before the value, whose range
    // it sets.
    void setAddress(int address);
    void setDesc(const QString &desc);
    void setType(const QString &type);
    void setValue(double value);
    // Presets every control from a stored request; the value text is read
    // as a number.
    void setValues(const writeValues &values);

public slots:
    void typeChange(const QString &type);

private:
    Ui::addWriteData *ui;
    writeFields *fields;
    QMetaObject::Connection connections[2];
};
