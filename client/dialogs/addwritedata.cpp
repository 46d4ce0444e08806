#include "addwritedata.h"
#include "ui_addwritedata.h"

#include "scalingfields.h"
#include "writefields.h"

#include <QPushButton>

addWriteData::addWriteData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addWriteData)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connections[0] = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connections[1] = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *scaling = new scalingFields(this);
    ui->verticalLayout->insertWidget(ui->verticalLayout->indexOf(ui->buttonBox), scaling);
    fields = new writeFields(
        {ui->kind, ui->type, ui->order, ui->length, ui->address, ui->value, ui->text, ui->single,
            ui->buttonBox->button(QDialogButtonBox::Ok), scaling},
        this);
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
    return fields->value();
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
    writeValues values = fields->values();
    values.desc = desc();
    return values;
}

void addWriteData::setValues(const writeValues &values)
{
    setDesc(values.desc);
    fields->setValues(values);
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
    fields->setType(type);
}

void addWriteData::setValue(double value)
{
    ui->value->setValue(value);
}

void addWriteData::typeChange(const QString &type)
{
    fields->typeChange(type);
}
