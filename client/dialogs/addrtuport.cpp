#include "addrtuport.h"
#include "ui_addrtuport.h"

#include "freeserialports.h"

#include <algorithm>

addRTUPort::addRTUPort(QWidget *parent)
    : addRTUPort(freeSerialPorts(), parent)
{ }

addRTUPort::addRTUPort(const QStringList &portNames, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addRTUPort)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    acceptConnection = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    rejectConnection = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    QStringList names = portNames;
    std::sort(names.begin(), names.end());
    ui->com->addItems(names);
    if (!names.isEmpty())
        ui->com->setCurrentIndex(0);
}

addRTUPort::~addRTUPort()
{
    disconnect(acceptConnection);
    disconnect(rejectConnection);
    delete ui;
}

QString addRTUPort::com() const
{
    return ui->com->currentText();
}

QString addRTUPort::baudrate() const
{
    return ui->baudrate->currentText();
}

QString addRTUPort::slave() const
{
    return QString::number(ui->slave->value());
}

QString addRTUPort::desc() const
{
    return ui->desc->toPlainText();
}

QString addRTUPort::hash() const
{
    return values().fingerprint();
}

portValues addRTUPort::values() const
{
    portValues values;
    values.kind = portValues::Serial;
    values.com = com();
    values.baudrate = baudrate();
    values.addr = slave();
    values.desc = desc();
    return values;
}

void addRTUPort::setValues(const portValues &values)
{
    setSlave(values.addr.toInt());
    setDesc(values.desc);
    setCom(values.com);
    setBaudrate(values.baudrate);
}

void addRTUPort::setCom(const QString &com)
{
    int index = ui->com->findText(com);
    if (index < 0) {
        // In plain string order among the listed names.
        QStringList names;
        for (int i = 0; i < ui->com->count(); ++i)
            names << ui->com->itemText(i);
        index = int(std::lower_bound(names.begin(), names.end(), com) - names.begin());
        ui->com->insertItem(index, com);
    }
    ui->com->setCurrentIndex(index);
}

void addRTUPort::setBaudrate(const QString &baudrate)
{
    int index = ui->baudrate->findText(baudrate);
    if (index < 0) {
        // In numeric order among the listed rates.
        const qulonglong rate = baudrate.toULongLong();
        index = 0;
        while (index < ui->baudrate->count() && ui->baudrate->itemText(index).toULongLong() < rate)
            ++index;
        ui->baudrate->insertItem(index, baudrate);
    }
    ui->baudrate->setCurrentIndex(index);
}

void addRTUPort::setSlave(int slave)
{
    ui->slave->setValue(slave);
}

void addRTUPort::setDesc(const QString &desc)
{
    ui->desc->setPlainText(desc);
}
