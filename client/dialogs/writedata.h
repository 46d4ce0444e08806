#pragma once

#include "writevalues.h"

#include <QDialog>

class writeFields;

namespace Ui {
class writeData;
}

// A write carried out at once and not stored: kind of register, data type,
// byte order, registers of a text, register address, value and function 6,
// the controls following one another as writeFields has them.
class writeData : public QDialog
{
    Q_OBJECT

public:
    explicit writeData(QWidget *parent = nullptr);
    ~writeData() override;

    QString type() const;
    QString address() const;
    // The full value: exact integers, the shortest F32 text that reads back
    // to the same single-precision number, a 64-bit value or text as typed.
    QString value() const;
    // The write the dialog holds; it has no description.
    writeValues values() const;

    void setAddress(int address);
    void setType(const QString &type);
    void setValue(double value);

public slots:
    void typeChange(const QString &type);

private:
    Ui::writeData *ui;
    writeFields *fields;
    QMetaObject::Connection connections[2];
};
