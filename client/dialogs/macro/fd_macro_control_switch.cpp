#include "fd_macro_control_switch.h"
#include "ui_fd_macro_control_switch.h"

#include "macrofields.h"

FD_MACRO_CONTROL_SWITCH::FD_MACRO_CONTROL_SWITCH(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_CONTROL_SWITCH)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
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

QString FD_MACRO_CONTROL_SWITCH::macroDesc() const
{
    return ui->desc->toPlainText();
}

QString FD_MACRO_CONTROL_SWITCH::macroHash() const
{
    return macroFingerprint();
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

void FD_MACRO_CONTROL_SWITCH::setMacroDesc(const QString &desc)
{
    ui->desc->setText(desc);
}
