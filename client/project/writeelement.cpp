#include "writeelement.h"
#include "ui_writeelement.h"

#include "addwritedata.h"
#include "registertypes.h"
#include "userprompts.h"

writeElement::writeElement(const writeValues &values, QWidget *parent)
    : projectElement(values, parent)
    , ui(new Ui::writeElement)
{
    ui->setupUi(this);
    setUpRow(ui->exe, ui->edit, ui->del);
}

writeElement::~writeElement()
{
    delete ui;
}

void writeElement::showValues()
{
    const writeValues &write = request();
    ui->kind->setText(registerTypes::kindShortLabel(write.kind));
    QString type = registerTypes::typeText(write.type, write.order, write.length);
    if (write.single)
        type += tr(" fn 6");
    ui->type->setText(type);
    ui->addr->setText(request().addr);
    ui->value->setText(request().shown());
    ui->desc->setText(request().desc);
}

std::optional<rowValues> writeElement::askValues(userPrompts &prompts) const
{
    addWriteData dialog;
    dialog.setValues(request());
    return prompts.accepted(dialog);
}
