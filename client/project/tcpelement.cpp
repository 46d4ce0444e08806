#include "tcpelement.h"
#include "ui_tcpelement.h"

#include "addtcpport.h"

tcpElement::tcpElement(QWidget *parent)
    : portElement(QStringLiteral("TCP"), parent)
    , ui(new Ui::tcpElement)
{
    ui->setupUi(this);
    setUpRow({ui->ip, ui->port, ui->addr, ui->desc},
        {QStringLiteral("ip"), QStringLiteral("port"), QStringLiteral("addr"),
            QStringLiteral("desc")},
        {3, 1, 2, 0}, ui->exe, ui->edit, ui->del);
    setActive(false);
}

tcpElement::~tcpElement()
{
    delete ui;
}

QStringList tcpElement::driverArguments() const
{
    return {QStringLiteral("--address"), addr(), QStringLiteral("--ip"), ip(),
        QStringLiteral("--port"), port()};
}

QDialog *tcpElement::createDialog(QWidget *parent, bool preset) const
{
    auto *dialog = new addTCPPort(parent);
    if (preset) {
        dialog->setSlave(addr().toInt());
        dialog->setPort(port().toInt());
        dialog->setIp(ip());
        dialog->setDesc(desc());
    }
    return dialog;
}

QStringList tcpElement::dialogValues(const QDialog *dialog) const
{
    const auto *port = static_cast<const addTCPPort *>(dialog);
    return {port->ip(), port->port(), port->slave(), port->desc()};
}
