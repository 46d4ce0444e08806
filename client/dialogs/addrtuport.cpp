#include "addrtuport.h"
#include "ui_addrtuport.h"

#include "freeserialports.h"

#include <QStandardItemModel>

#include <algorithm>

namespace {

const QString ascii = QStringLiteral("ASCII");
const QString sevenBits = QStringLiteral("7");

// Selects text in box, adding it at the end when it is not listed.
void selectText(QComboBox *box, const QString &text)
{
    int index = box->findText(text);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

} // namespace

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
    connect(ui->framing, &QComboBox::currentTextChanged, this, &addRTUPort::framingChanged);
    framingChanged();
}

void addRTUPort::framingChanged()
{
    const bool isAscii = ui->framing->currentText() == ascii;
    if (!isAscii && ui->dataBits->currentText() == sevenBits)
        ui->dataBits->setCurrentText(QStringLiteral("8"));
    auto *model = qobject_cast<QStandardItemModel *>(ui->dataBits->model());
    const int seven = ui->dataBits->findText(sevenBits);
    if (model && seven >= 0)
        model->item(seven)->setEnabled(isAscii);
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

QString addRTUPort::framing() const
{
    return ui->framing->currentText() == ascii ? ascii : QString();
}

QString addRTUPort::dataBits() const
{
    return ui->dataBits->currentText();
}

QString addRTUPort::parity() const
{
    return ui->parity->currentText();
}

bool addRTUPort::keepOpen() const
{
    return ui->keepOpen->isChecked();
}

void addRTUPort::setKeepOpen(bool on)
{
    ui->keepOpen->setChecked(on);
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
    values.framing = framing();
    values.dataBits = dataBits();
    values.parity = parity();
    values.keepOpen = keepOpen();
    return values;
}

void addRTUPort::setValues(const portValues &values)
{
    setKeepOpen(values.keepOpen);
    setSlave(values.addr.toInt());
    setDesc(values.desc);
    setCom(values.com);
    setBaudrate(values.baudrate);
    setFraming(values.framing);
    setDataBits(values.dataBits);
    setParity(values.parity);
}

void addRTUPort::setFraming(const QString &framing)
{
    selectText(ui->framing, framing.isEmpty() ? QStringLiteral("RTU") : framing);
}

void addRTUPort::setDataBits(const QString &dataBits)
{
    selectText(ui->dataBits, dataBits);
}

void addRTUPort::setParity(const QString &parity)
{
    selectText(ui->parity, parity);
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
