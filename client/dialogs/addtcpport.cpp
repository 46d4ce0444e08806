#include "addtcpport.h"
#include "ui_addtcpport.h"

addTCPPort::addTCPPort(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addTCPPort)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    acceptConnection = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    rejectConnection = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

addTCPPort::~addTCPPort()
{
    disconnect(acceptConnection);
    disconnect(rejectConnection);
    delete ui;
}

QString addTCPPort::ip() const
{
    return ui->ip->text();
}

QString addTCPPort::port() const
{
    return QString::number(ui->port->value());
}

QString addTCPPort::slave() const
{
    return QString::number(ui->slave->value());
}

QString addTCPPort::desc() const
{
    return ui->desc->toPlainText();
}

QString addTCPPort::hash() const
{
    return values().fingerprint();
}

portValues addTCPPort::values() const
{
    portValues values;
    values.kind = portValues::Tcp;
    values.ip = ip();
    values.port = port();
    values.addr = slave();
    values.desc = desc();
    return values;
}

void addTCPPort::setValues(const portValues &values)
{
    setSlave(values.addr.toInt());
    setPort(values.port.toInt());
    setIp(values.ip);
    setDesc(values.desc);
}

void addTCPPort::setIp(const QString &ip)
{
    ui->ip->setText(ip);
}

void addTCPPort::setPort(int port)
{
    ui->port->setValue(port);
}

void addTCPPort::setSlave(int slave)
{
    ui->slave->setValue(slave);
}

void addTCPPort::setDesc(const QString &desc)
{
    ui->desc->setPlainText(desc);
}
