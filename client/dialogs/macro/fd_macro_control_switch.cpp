#include "fd_macro_control_switch.h"
#include "ui_fd_macro_control_switch.h"

#include "macrofields.h"

FD_MACRO_CONTROL_SWITCH::FD_MACRO_CONTROL_SWITCH(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_CONTROL_SWITCH)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_CONTROL_SWITCH::~FD_MACRO_CONTROL_SWITCH()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_CONTROL_SWITCH::macroName() const
{
    return QStringLiteral("FD_MACRO_CONTROL_SWITCH");
}

QString FD_MACRO_CONTROL_SWITCH::macroParams() const
{
    return MacroFields::join(
        {MacroFields::listCode(ui->type), ui->no->value(), MacroFields::listCode(ui->command)});
}

void FD_MACRO_CONTROL_SWITCH::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 3)
        return;
    MacroFields::selectListCode(ui->type, MacroFields::number(fields.at(0)));
    ui->no->setValue(MacroFields::number(fields.at(1)));
    MacroFields::selectListCode(ui->command, MacroFields::number(fields.at(2)));
}
