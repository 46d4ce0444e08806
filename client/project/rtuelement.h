#pragma once

#include "portelement.h"

namespace Ui {
class rtuElement;
}

// A serial line of the project: port name, baud rate, device address and
// description.
class rtuElement : public portElement
{
    Q_OBJECT

public:
    explicit rtuElement(QWidget *parent = nullptr);
    ~rtuElement() override;

    QString com() const { return field(0); }
    QString baudrate() const { return field(1); }
    void setCom(const QString &com) { setField(0, com); }
    void setBaudrate(const QString &baudrate) { setField(1, baudrate); }

    // "--address", addr, "--port", the device in the Windows device
    // namespace, "--baudrate", baudrate.
    QStringList driverArguments() const override;
    QDialog *createDialog(QWidget *parent, bool preset) const override;
    QStringList dialogValues(const QDialog *dialog) const override;

private:
    Ui::rtuElement *ui;
};
