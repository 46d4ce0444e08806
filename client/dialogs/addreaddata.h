#pragma once

#include "readvalues.h"

#include <QDialog>

class scalingFields;

namespace Ui {
class addReadData;
}

// A read request: kind of register, data type, byte order, registers of a
// text, register address, display format, description and the engineering
// value (scale, offset, unit). The types follow the kind (BIT for coils and
// discrete inputs); the byte order applies to 32- and 64-bit types, the
// registers to text, the display format to the integer types only: the
// last format the user chose comes back when an integer type is chosen
// again. OK is refused while the scaling is not valid for the type.
class addReadData : public QDialog
{
    Q_OBJECT

public:
    explicit addReadData(QWidget *parent = nullptr);
    ~addReadData() override;

    QString type() const;
    QString address() const;
    QString format() const; // empty for the types without a display format
    QString desc() const;
    QString kind() const; // "holding", "input", "coil", "discrete"
    QString order() const; // the default for the types without an order
    QString length() const; // empty for the types other than text
    // Fingerprint of the read request the dialog holds.
    QString hash() const;
    // The read request the dialog holds.
    readValues values() const;
    QString savedFormat() const { return saved; }

    // Presets from a stored request: address and description, the kind,
    // the order, the registers and the format, then the type. A stored
    // format that is not in the list is added, so that an edit keeps it
    // unless the user changes it.
    void setAddress(int address);
    void setDesc(const QString &desc);
    void setFormat(const QString &format);
    // Selects the kind and offers its types, keeping the type when the kind
    // has it.
    void setKind(const QString &kind);
    void setOrder(const QString &order);
    void setLength(int registers);
    // Selects the type and updates the dependent controls even when the
    // type does not change.
    void setType(const QString &type);
    // Presets every control from a stored request, in the order above.
    void setValues(const readValues &values);

public slots:
    void typeChange(const QString &type);
    void formatChange(const QString &format);
    void kindChange(int index);

private:
    void checkScaling();

    Ui::addReadData *ui;
    scalingFields *scaling;
    QString saved; // the format to show whenever an integer type is chosen
    QMetaObject::Connection connections[5];
};
