#include "writedata.h"
#include "ui_writedata.h"

#include "writevalue.h"

writeData::writeData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::writeData)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connections[0] = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connections[1] = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connections[2]
        = connect(ui->type, &QComboBox::currentTextChanged, this, &writeData::typeChange);
    typeChange(QStringLiteral("F32"));
}

writeData::~writeData()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString writeData::type() const
{
    return ui->type->currentText();
}

QString writeData::address() const
{
    return QString::number(ui->address->value());
}

QString writeData::value() const
{
    return writeValue::text(ui->value->value(), type());
}

writeValues writeData::values() const
{
    writeValues values;
    values.type = type();
    values.addr = address();
    values.value = value();
    values.desc.clear();
    return values;
}

void writeData::setAddress(int address)
{
    ui->address->setValue(address);
}

void writeData::setType(const QString &type)
{
    ui->type->setCurrentText(type);
    typeChange(type);
}

void writeData::setValue(double value)
{
    ui->value->setValue(value);
}

void writeData::typeChange(const QString &type)
{
    writeValue::applyType(ui->value, type);
}
