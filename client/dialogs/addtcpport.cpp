#include "addtcpport.h"
#include "ui_addtcpport.h"

#include "fingerprint.h"

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
    return fingerprint({desc(), port(), slave(), ip()});
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
