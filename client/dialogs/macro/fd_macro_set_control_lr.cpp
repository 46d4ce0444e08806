#include "fd_macro_set_control_lr.h"
#include "ui_fd_macro_set_control_lr.h"

#include "macrofields.h"

FD_MACRO_SET_CONTROL_LR::FD_MACRO_SET_CONTROL_LR(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_CONTROL_LR)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_CONTROL_LR::~FD_MACRO_SET_CONTROL_LR()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_CONTROL_LR::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_CONTROL_LR");
}

QString FD_MACRO_SET_CONTROL_LR::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->comboBox)});
}

void FD_MACRO_SET_CONTROL_LR::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 1)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
}
