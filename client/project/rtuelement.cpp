#include "rtuelement.h"
#include "ui_rtuelement.h"

#include "addrtuport.h"

rtuElement::rtuElement(QWidget *parent)
    : portElement(QStringLiteral("RTU"), parent)
    , ui(new Ui::rtuElement)
{
    ui->setupUi(this);
    setUpRow({ui->com, ui->baudrate, ui->addr, ui->desc},
        {QStringLiteral("com"), QStringLiteral("baudrate"), QStringLiteral("addr"),
            QStringLiteral("desc")},
        {3, 1, 2, 0}, ui->exe, ui->edit, ui->del);
    setActive(false);
}

rtuElement::~rtuElement()
{
    delete ui;
}

QStringList rtuElement::driverArguments() const
{
    return {QStringLiteral("--address"), addr(), QStringLiteral("--port"),
        QStringLiteral("\\\\.\\") + com(), QStringLiteral("--baudrate"), baudrate()};
}

QDialog *rtuElement::createDialog(QWidget *parent, bool preset) const
{
    auto *dialog = new addRTUPort(parent);
    if (preset) {
        dialog->setSlave(addr().toInt());
        dialog->setDesc(desc());
        dialog->setCom(com());
        dialog->setBaudrate(baudrate());
    }
    return dialog;
}

QStringList rtuElement::dialogValues(const QDialog *dialog) const
{
    const auto *port = static_cast<const addRTUPort *>(dialog);
    return {port->com(), port->baudrate(), port->slave(), port->desc()};
}
