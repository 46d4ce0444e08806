#include "tcpelement.h"
#include "ui_tcpelement.h"

#include "addtcpport.h"
#include "deletequestion.h"
#include "edittcpelementtolayout.h"
#include "fingerprint.h"
#include "undostack.h"

tcpElement::tcpElement(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::tcpElement)
{
    ui->setupUi(this);
    connections[0] = connect(
        ui->exe, &QAbstractButton::pressed, this, &tcpElement::commandExe, Qt::QueuedConnection);
    connections[1] = connect(
        ui->edit, &QAbstractButton::pressed, this, &tcpElement::commandEdit, Qt::QueuedConnection);
    connections[2] = connect(
        ui->del, &QAbstractButton::pressed, this, &tcpElement::commandDel, Qt::QueuedConnection);
}

tcpElement::~tcpElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString tcpElement::ip() const
{
    return ui->ip->text();
}

QString tcpElement::port() const
{
    return ui->port->text();
}

QString tcpElement::addr() const
{
    return ui->addr->text();
}

QString tcpElement::desc() const
{
    return ui->desc->text();
}

void tcpElement::setIp(const QString &ip)
{
    ui->ip->setText(ip);
}

void tcpElement::setPort(const QString &port)
{
    ui->port->setText(port);
}

void tcpElement::setAddr(const QString &addr)
{
    ui->addr->setText(addr);
}

void tcpElement::setDesc(const QString &desc)
{
    ui->desc->setText(desc);
}

QJsonObject tcpElement::toJson() const
{
    return QJsonObject {{QStringLiteral("active"), activePort}, {QStringLiteral("addr"), addr()},
        {QStringLiteral("desc"), desc()}, {QStringLiteral("ip"), ip()},
        {QStringLiteral("port"), port()}, {QStringLiteral("type"), QStringLiteral("TCP")}};
}

QString tcpElement::hash() const
{
    return fingerprint({desc(), port(), addr(), ip()});
}

void tcpElement::setActive(bool active)
{
    activePort = active;
    ui->exe->setIcon(QIcon(
        active ? QStringLiteral(":/_icons/active.png") : QStringLiteral(":/_icons/disabled.png")));
    ui->exe->setIconSize(QSize(24, 24));
}

QString tcpElement::commandLine() const
{
    return QStringLiteral("--address ") + addr() + QStringLiteral(" --ip ") + ip()
        + QStringLiteral(" --port ") + port();
}

void tcpElement::commandExe()
{
    emit active();
}

void tcpElement::commandDel()
{
    if (askDeleteElement(this))
        emit del();
}

void tcpElement::commandEdit()
{
    addTCPPort dialog;
    dialog.setSlave(addr().toInt());
    dialog.setPort(port().toInt());
    dialog.setIp(ip());
    dialog.setDesc(desc());
    if (dialog.exec() != QDialog::Accepted || dialog.hash() == hash())
        return;
    if (undoStack) {
        undoStack->push(new editTcpElementToLayout(this, dialog));
    } else {
        setAddr(dialog.slave());
        setPort(dialog.port());
        setIp(dialog.ip());
        setDesc(dialog.desc());
    }
}
