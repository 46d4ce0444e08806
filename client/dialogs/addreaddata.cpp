#include "addreaddata.h"
#include "ui_addreaddata.h"

#include "registertypes.h"
#include "scalingfields.h"
#include "typechoice.h"

#include <QPushButton>

addReadData::addReadData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addReadData)
{
    ui->setupUi(this);
    scaling = new scalingFields(this);
    ui->verticalLayout->insertWidget(ui->verticalLayout->indexOf(ui->buttonBox), scaling);
    connect(scaling, &scalingFields::changed, this, &addReadData::checkScaling);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    typeChoice::fillKinds(ui->kind, registerTypes::readKinds());
    typeChoice::fillOrders(ui->order);
    connections[0] = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connections[1] = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connections[2]
        = connect(ui->type, &QComboBox::currentTextChanged, this, &addReadData::typeChange);
    connections[3]
        = connect(ui->format, &QComboBox::currentTextChanged, this, &addReadData::formatChange);
    connections[4] = connect(ui->kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &addReadData::kindChange);
    ui->format->setEnabled(false);
    typeChoice::enableFor(ui->order, ui->length, type());
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

QString addReadData::kind() const
{
    return ui->kind->currentData().toString();
}

QString addReadData::order() const
{
    return typeChoice::order(ui->order, type());
}

QString addReadData::length() const
{
    return typeChoice::length(ui->length, type());
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
    values.scaling = scaling->values();
    values.kind = kind();
    values.order = order();
    values.length = length();
    return values;
}

void addReadData::setValues(const readValues &values)
{
    setAddress(values.addr.toInt());
    setDesc(values.desc);
    // The kind first: its change offers its types, and a type without a
    // display format clears the saved one.
    setKind(values.kind);
    setOrder(values.order);
    setLength(values.length.toInt());
    setFormat(values.format);
    scaling->setValues(values.scaling);
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

void addReadData::setKind(const QString &kind)
{
    typeChoice::selectData(ui->kind, kind);
}

void addReadData::setOrder(const QString &order)
{
    typeChoice::selectData(ui->order, order);
}

void addReadData::setLength(int registers)
{
    ui->length->setValue(registers);
}

void addReadData::setType(const QString &type)
{
    ui->type->setCurrentText(type);
    typeChange(type);
}

void addReadData::checkScaling()
{
    const QString problem = scaling->values().problem(type());
    scaling->showProblem(problem);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

void addReadData::kindChange(int)
{
    typeChoice::offerTypes(ui->type, kind());
    typeChange(type());
}

void addReadData::typeChange(const QString &type)
{
    scaling->setType(type);
    typeChoice::enableFor(ui->order, ui->length, type);
    if (!registerTypes::isInteger(type)) {
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
