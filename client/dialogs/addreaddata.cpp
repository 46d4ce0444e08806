#include "addreaddata.h"
#include "ui_addreaddata.h"

addReadData::addReadData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addReadData)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connections[0] = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connections[1] = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connections[2]
        = connect(ui->type, &QComboBox::currentTextChanged, this, &addReadData::typeChange);
    connections[3]
        = connect(ui->format, &QComboBox::currentTextChanged, this, &addReadData::formatChange);
    ui->format->setEnabled(false);
}

addReadData::~addReadData()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString addReadData::type() const
{
    return ui->type->currentText();
}

QString addReadData::address() const
{
    return QString::number(ui->address->value());
}

QString addReadData::format() const
{
    return ui->format->currentText();
}

QString addReadData::desc() const
{
    return ui->desc->toPlainText();
}

QString addReadData::hash() const
{
    return values().fingerprint();
}

readValues addReadData::values() const
{
    readValues values;
    values.type = type();
    values.addr = address();
    values.format = format();
    values.desc = desc();
    return values;
}

void addReadData::setValues(const readValues &values)
{
    setAddress(values.addr.toInt());
    setDesc(values.desc);
    setFormat(values.format);
    setType(values.type);
}

void addReadData::setAddress(int address)
{
    ui->address->setValue(address);
}

void addReadData::setDesc(const QString &desc)
{
    ui->desc->setPlainText(desc);
}

void addReadData::setFormat(const QString &format)
{
    int index = ui->format->findText(format);
    if (index < 0) {
        ui->format->addItem(format);
        index = ui->format->count() - 1;
    }
    ui->format->setCurrentIndex(index);
    saved = format;
}

void addReadData::setType(const QString &type)
{
    ui->type->setCurrentText(type);
    typeChange(type);
}

void addReadData::typeChange(const QString &type)
{
    if (type == QLatin1String("F32")) {
        // Clears the saved format through formatChange when it changes.
        ui->format->setCurrentIndex(ui->format->findText(QString()));
        ui->format->setEnabled(false);
        return;
    }
    const int index = ui->format->findText(saved);
    if (index >= 0)
        ui->format->setCurrentIndex(index);
    ui->format->setEnabled(true);
}

void addReadData::formatChange(const QString &format)
{
    saved = format;
}
