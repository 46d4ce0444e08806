#include "writeelement.h"
#include "ui_writeelement.h"

#include "addwritedata.h"
#include "deletequestion.h"
#include "editwriteelementtolayout.h"
#include "fingerprint.h"
#include "undostack.h"

writeElement::writeElement(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::writeElement)
{
    ui->setupUi(this);
    connections[0] = connect(
        ui->exe, &QAbstractButton::pressed, this, &writeElement::commandExe, Qt::QueuedConnection);
    connections[1] = connect(ui->edit, &QAbstractButton::pressed, this, &writeElement::commandEdit,
        Qt::QueuedConnection);
    connections[2] = connect(
        ui->del, &QAbstractButton::pressed, this, &writeElement::commandDel, Qt::QueuedConnection);
}

writeElement::~writeElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString writeElement::type() const
{
    return ui->type->text();
}

QString writeElement::addr() const
{
    return ui->addr->text();
}

QString writeElement::value() const
{
    return ui->value->text();
}

QString writeElement::desc() const
{
    return ui->desc->text();
}

void writeElement::setType(const QString &type)
{
    ui->type->setText(type);
}

void writeElement::setAddr(const QString &addr)
{
    ui->addr->setText(addr);
}

void writeElement::setValue(const QString &value)
{
    ui->value->setText(value);
}

void writeElement::setDesc(const QString &desc)
{
    ui->desc->setText(desc);
}

QJsonObject writeElement::toJson() const
{
    return QJsonObject {{QStringLiteral("addr"), addr()}, {QStringLiteral("desc"), desc()},
        {QStringLiteral("type"), type()}, {QStringLiteral("value"), value()}};
}

QString writeElement::hash() const
{
    return fingerprint({desc(), type(), addr(), value()});
}

void writeElement::commandExe()
{
    exeRequested = true;
    emit exe();
}

void writeElement::commandDel()
{
    if (askDeleteElement(this))
        emit del();
}

void writeElement::commandEdit()
{
    addWriteData dialog;
    dialog.setAddress(addr().toInt());
    dialog.setDesc(desc());
    dialog.setType(type());
    dialog.setValue(value().toDouble());
    if (dialog.exec() != QDialog::Accepted || dialog.hash() == hash())
        return;
    if (undoStack) {
        undoStack->push(new editWriteElementToLayout(this, dialog));
    } else {
        setAddr(dialog.address());
        setDesc(dialog.desc());
        setType(dialog.type());
        setValue(dialog.value());
    }
}
