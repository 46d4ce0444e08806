#pragma once

#include "readvalues.h"

#include <QDialog>

namespace Ui {
class addReadData;
}

// A read request: data type, register address, display format, description.
// The display format applies to the integer types only; the last format the
// user chose comes back when an integer type is chosen again.
class addReadData : public QDialog
{
    Q_OBJECT

public:
    explicit addReadData(QWidget *parent = nullptr);
    ~addReadData() override;

    QString type() const;
    QString address() const;
    QString format() const; // empty for F32
    QString desc() const;
    // Fingerprint of desc(), type(), address(), format().
    QString hash() const;
    // The read request the dialog holds.
    readValues values() const;
    QString savedFormat() const { return saved; }

    // Presets from a stored request: address, description and format first,
    // then the type. A stored format that is not in the list is added, so
    // that an edit keeps it unless the user changes it.
    void setAddress(int address);
    void setDesc(const QString &desc);
    void setFormat(const QString &format);
    // Selects the type and updates the format control even when the type
    // does not change.
    void setType(const QString &type);
    // Presets every control from a stored request, in the order above.
    void setValues(const readValues &values);

public slots:
    void typeChange(const QString &type);
    void formatChange(const QString &format);

private:
    Ui::addReadData *ui;
    QString saved; // the format to show whenever an integer type is chosen
    QMetaObject::Connection connections[4];
};
