#pragma once

#include "writevalues.h"

#include <QDialog>

namespace Ui {
class writeData;
}

// A write carried out at once and not stored: data type, register address and
// value. The value's range and decimals follow the type.
class writeData : public QDialog
{
    Q_OBJECT

public:
    explicit writeData(QWidget *parent = nullptr);
    ~writeData() override;

    QString type() const;
    QString address() const;
    // The full value: exact integers, the shortest F32 text that reads back
    // to the same single-precision number.
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
    QMetaObject::Connection connections[3];
};
