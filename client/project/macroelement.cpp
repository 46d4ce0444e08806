#include "macroelement.h"
#include "ui_macroelement.h"

#include "fd_macro.h"
#include "macrodialogfactory.h"
#include "userprompts.h"

#include <memory>

macroElement::macroElement(const macroValues &values, QWidget *parent)
    : projectElement(values, parent)
    , ui(new Ui::macroElement)
{
    ui->setupUi(this);
    setUpRow(ui->exe, ui->edit, ui->del);
}

macroElement::~macroElement()
{
    delete ui;
}

void macroElement::showValues()
{
    ui->macro->setText(request().name);
    ui->param->setText(request().param);
    ui->desc->setText(request().desc);
}

std::optional<rowValues> macroElement::askValues(userPrompts &prompts) const
{
    const std::unique_ptr<FD_MACRO> dialog(createMacroDialog(request().name));
    if (!dialog)
        return std::nullopt;
    dialog->setValues(request());
    return prompts.accepted(*dialog);
}
