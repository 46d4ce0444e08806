#pragma once

#include "portelement.h"

namespace Ui {
class tcpElement;
}

// A TCP connection of the project: IP address, TCP port, device address and
// description.
class tcpElement : public portElement
{
    Q_OBJECT

public:
    explicit tcpElement(QWidget *parent = nullptr);
    ~tcpElement() override;

    QString ip() const { return field(0); }
    QString port() const { return field(1); }
    void setIp(const QString &ip) { setField(0, ip); }
    void setPort(const QString &port) { setField(1, port); }

    // "--address", addr, "--ip", ip, "--port", port.
    QStringList driverArguments() const override;
    QDialog *createDialog(QWidget *parent, bool preset) const override;
    QStringList dialogValues(const QDialog *dialog) const override;

private:
    Ui::tcpElement *ui;
};
