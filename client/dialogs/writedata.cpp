#include "writedata.h"
#include "ui_writedata.h"

#include "writefields.h"

writeData::writeData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::writeData)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connections[0] = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connections[1] = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    fields = new writeFields({ui->kind, ui->type, ui->order, ui->length, ui->address, ui->value,
                                 ui->text, ui->single, ui->buttonBox->button(QDialogButtonBox::Ok)},
        this);
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
    return fields->value();
}

writeValues writeData::values() const
{
    return fields->values();
}

void writeData::setAddress(int address)
{
    ui->address->setValue(address);
}

void writeData::setType(const QString &type)
{
    fields->setType(type);
}

void writeData::setValue(double value)
{
    ui->value->setValue(value);
}

void writeData::typeChange(const QString &type)
{
    fields->typeChange(type);
}
