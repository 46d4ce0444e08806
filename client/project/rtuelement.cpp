#include "rtuelement.h"
#include "ui_rtuelement.h"

#include "addrtuport.h"
#include "userprompts.h"

rtuElement::rtuElement(const portValues &values, QWidget *parent)
    : portElement(values, parent)
    , ui(new Ui::rtuElement)
{
    Q_ASSERT(values.kind == portValues::Serial);
    ui->setupUi(this);
    setUpRow(ui->exe, ui->edit, ui->del);
    setActive(false);
}

rtuElement::~rtuElement()
{
    delete ui;
}

void rtuElement::showValues()
{
    ui->com->setText(line().com);
    ui->baudrate->setText(line().baudrate);
    ui->addr->setText(line().addr);
    ui->line->setText(line().lineText());
    ui->desc->setText(line().desc);
}

std::optional<rowValues> rtuElement::askValues(userPrompts &prompts) const
{
    addRTUPort dialog;
    dialog.setValues(line());
    return prompts.accepted(dialog);
}
