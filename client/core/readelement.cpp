#include "readelement.h"
#include "ui_readelement.h"

#include "addreaddata.h"
#include "deletequestion.h"
#include "editreadelementtolayout.h"
#include "fingerprint.h"
#include "undostack.h"

readElement::readElement(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::readElement)
{
    ui->setupUi(this);
    connections[0] = connect(
        ui->exe, &QAbstractButton::pressed, this, &readElement::commandExe, Qt::QueuedConnection);
    connections[1] = connect(
        ui->edit, &QAbstractButton::pressed, this, &readElement::commandEdit, Qt::QueuedConnection);
    connections[2] = connect(
        ui->del, &QAbstractButton::pressed, this, &readElement::commandDel, Qt::QueuedConnection);
}

readElement::~readElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString readElement::type() const
{
    return ui->type->text();
}

QString readElement::addr() const
{
    return ui->addr->text();
}

QString readElement::format() const
{
    return ui->format->text();
}

QString readElement::value() const
{
    return ui->value->text();
}

QString readElement::desc() const
{
    return ui->desc->text();
}

void readElement::setType(const QString &type)
{
    ui->type->setText(type);
}

void readElement::setAddr(const QString &addr)
{
    ui->addr->setText(addr);
}

void readElement::setFormat(const QString &format)
{
    ui->format->setText(format);
}

void readElement::setValue(const QString &value)
{
    ui->value->setText(value);
}

void readElement::setDesc(const QString &desc)
{
    ui->desc->setText(desc);
}

QJsonObject readElement::toJson() const
{
    return QJsonObject {{QStringLiteral("addr"), addr()}, {QStringLiteral("desc"), desc()},
        {QStringLiteral("format"), format()}, {QStringLiteral("type"), type()}};
}

QString readElement::hash() const
{
    return fingerprint({desc(), type(), addr(), format()});
}

void readElement::commandExe()
{
    exeRequested = true;
    emit exe();
}

void readElement::commandDel()
{
    if (askDeleteElement(this))
        emit del();
}

void readElement::commandEdit()
{
    addReadData dialog;
    dialog.setAddress(addr().toInt());
    dialog.setDesc(desc());
    dialog.setFormat(format());
    dialog.setType(type());
    if (dialog.exec() != QDialog::Accepted || dialog.hash() == hash())
        return;
    if (undoStack) {
        undoStack->push(new editReadElementToLayout(this, dialog));
    } else {
        setAddr(dialog.address());
        setDesc(dialog.desc());
        setType(dialog.type());
        setFormat(dialog.format());
    }
}
