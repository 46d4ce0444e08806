#include "rtuelement.h"
#include "ui_rtuelement.h"

#include "addrtuport.h"
#include "deletequestion.h"
#include "editrtuelementtolayout.h"
#include "fingerprint.h"
#include "undostack.h"

rtuElement::rtuElement(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::rtuElement)
{
    ui->setupUi(this);
    connections[0] = connect(
        ui->exe, &QAbstractButton::pressed, this, &rtuElement::commandExe, Qt::QueuedConnection);
    connections[1] = connect(
        ui->edit, &QAbstractButton::pressed, this, &rtuElement::commandEdit, Qt::QueuedConnection);
    connections[2] = connect(
        ui->del, &QAbstractButton::pressed, this, &rtuElement::commandDel, Qt::QueuedConnection);
}

rtuElement::~rtuElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString rtuElement::com() const
{
    return ui->com->text();
}

QString rtuElement::baudrate() const
{
    return ui->baudrate->text();
}

QString rtuElement::addr() const
{
    return ui->addr->text();
}

QString rtuElement::desc() const
{
    return ui->desc->text();
}

void rtuElement::setCom(const QString &com)
{
    ui->com->setText(com);
}

void rtuElement::setBaudrate(const QString &baudrate)
{
    ui->baudrate->setText(baudrate);
}

void rtuElement::setAddr(const QString &addr)
{
    ui->addr->setText(addr);
}

void rtuElement::setDesc(const QString &desc)
{
    ui->desc->setText(desc);
}

QJsonObject rtuElement::toJson() const
{
    return QJsonObject {{QStringLiteral("active"), activePort}, {QStringLiteral("addr"), addr()},
        {QStringLiteral("baudrate"), baudrate()}, {QStringLiteral("com"), com()},
        {QStringLiteral("desc"), desc()}, {QStringLiteral("type"), QStringLiteral("RTU")}};
}

QString rtuElement::hash() const
{
    return fingerprint({desc(), baudrate(), addr(), com()});
}

void rtuElement::setActive(bool active)
{
    activePort = active;
    ui->exe->setIcon(QIcon(
        active ? QStringLiteral(":/_icons/active.png") : QStringLiteral(":/_icons/disabled.png")));
    ui->exe->setIconSize(QSize(24, 24));
}

// The serial device in the Windows device namespace, as the drivers take it.
QString rtuElement::commandLine() const
{
    return QStringLiteral("--address ") + addr() + QStringLiteral(" --port \\\\.\\") + com()
        + QStringLiteral(" --baudrate ") + baudrate();
}

void rtuElement::commandExe()
{
    emit active();
}

void rtuElement::commandDel()
{
    if (askDeleteElement(this))
        emit del();
}

void rtuElement::commandEdit()
{
    addRTUPort dialog;
    dialog.setSlave(addr().toInt());
    dialog.setDesc(desc());
    dialog.setCom(com());
    dialog.setBaudrate(baudrate());
    if (dialog.exec() != QDialog::Accepted || dialog.hash() == hash())
        return;
    if (undoStack) {
        undoStack->push(new editRtuElementToLayout(this, dialog));
    } else {
        setAddr(dialog.slave());
        setDesc(dialog.desc());
        setCom(dialog.com());
        setBaudrate(dialog.baudrate());
    }
}
