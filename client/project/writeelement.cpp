#include "writeelement.h"
#include "ui_writeelement.h"

#include "addwritedata.h"

writeElement::writeElement(QWidget *parent)
    : projectElement(parent)
    , ui(new Ui::writeElement)
{
    ui->setupUi(this);
    setUpRow({ui->type, ui->addr, ui->value, ui->desc},
        {QStringLiteral("type"), QStringLiteral("addr"), QStringLiteral("value"),
            QStringLiteral("desc")},
        {3, 0, 1, 2}, ui->exe, ui->edit, ui->del);
}

writeElement::~writeElement()
{
    delete ui;
}

elementRequest writeElement::request() const
{
    return elementRequest::write(type(), addr(), value());
}

QDialog *writeElement::createDialog(QWidget *parent, bool preset) const
{
    auto *dialog = new addWriteData(parent);
    if (preset) {
        dialog->setAddress(addr().toInt());
        dialog->setDesc(desc());
        dialog->setType(type());
        dialog->setValue(value().toDouble());
    }
    return dialog;
}

QStringList writeElement::dialogValues(const QDialog *dialog) const
{
    const auto *write = static_cast<const addWriteData *>(dialog);
    return {write->type(), write->address(), write->value(), write->desc()};
}
