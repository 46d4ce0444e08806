#include "readelement.h"
#include "ui_readelement.h"

#include "addreaddata.h"

readElement::readElement(QWidget *parent)
    : projectElement(parent)
    , ui(new Ui::readElement)
{
    ui->setupUi(this);
    setUpRow({ui->type, ui->addr, ui->format, ui->desc},
        {QStringLiteral("type"), QStringLiteral("addr"), QStringLiteral("format"),
            QStringLiteral("desc")},
        {3, 0, 1, 2}, ui->exe, ui->edit, ui->del);
}

readElement::~readElement()
{
    delete ui;
}

QString readElement::value() const
{
    return ui->value->text();
}

void readElement::setValue(const QString &value)
{
    ui->value->setText(value);
}

elementRequest readElement::request() const
{
    return elementRequest::read(type(), addr(), format());
}

void readElement::showResult(bool ok, const QString &shown, const QString &cause)
{
    setValue(shown);
    projectElement::showResult(ok, shown, cause);
}

QDialog *readElement::createDialog(QWidget *parent, bool preset) const
{
    auto *dialog = new addReadData(parent);
    if (preset) {
        dialog->setAddress(addr().toInt());
        dialog->setDesc(desc());
        dialog->setFormat(format());
        dialog->setType(type());
    }
    return dialog;
}

QStringList readElement::dialogValues(const QDialog *dialog) const
{
    const auto *read = static_cast<const addReadData *>(dialog);
    return {read->type(), read->address(), read->format(), read->desc()};
}
