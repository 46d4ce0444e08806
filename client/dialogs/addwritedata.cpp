#include "addwritedata.h"
#include "ui_addwritedata.h"

#include "writevalue.h"

addWriteData::addWriteData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addWriteData)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connections[0] = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connections[1] = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connections[2]
        = connect(ui->type, &QComboBox::currentTextChanged, this, &addWriteData::typeChange);
    typeChange(QStringLiteral("F32"));
}

addWriteData::~addWriteData()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString addWriteData::type() const
{
    return ui->type->currentText();
}

QString addWriteData::address() const
{
    return QString::number(ui->address->value());
}

QString addWriteData::value() const
{
    return writeValue::text(ui->value->value(), type());
}

QString addWriteData::desc() const
{
    return ui->desc->toPlainText();
}

QString addWriteData::hash() const
{
    return values().fingerprint();
}

writeValues addWriteData::values() const
{
    writeValues values;
    values.type = type();
    values.addr = address();
    values.value = value();
    values.desc = desc();
    return values;
}

void addWriteData::setValues(const writeValues &values)
{
    setAddress(values.addr.toInt());
    setDesc(values.desc);
    setType(values.type);
    setValue(values.value.toDouble());
}

void addWriteData::setAddress(int address)
{
    ui->address->setValue(address);
}

void addWriteData::setDesc(const QString &desc)
{
    ui->desc->setPlainText(desc);
}

void addWriteData::setType(const QString &type)
{
    ui->type->setCurrentText(type);
    typeChange(type);
}

void addWriteData::setValue(double value)
{
    ui->value->setValue(value);
}

void addWriteData::typeChange(const QString &type)
{
    writeValue::applyType(ui->value, type);
}
