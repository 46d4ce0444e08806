#include "fd_macro_set_port_settings.h"
#include "ui_fd_macro_set_port_settings.h"

#include "macrofields.h"

FD_MACRO_SET_PORT_SETTINGS::FD_MACRO_SET_PORT_SETTINGS(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_PORT_SETTINGS)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox_2, ui->desc_2);
}

FD_MACRO_SET_PORT_SETTINGS::~FD_MACRO_SET_PORT_SETTINGS()
{
    disconnectButtons(ui->buttonBox_2);
    delete ui;
}

QString FD_MACRO_SET_PORT_SETTINGS::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_PORT_SETTINGS");
}

QString FD_MACRO_SET_PORT_SETTINGS::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->com), MacroFields::listCode(ui->speed),
        MacroFields::listCode(ui->parity), MacroFields::listCode(ui->stopbit)});
}

void FD_MACRO_SET_PORT_SETTINGS::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 4)
        return;
    MacroFields::selectListCode(ui->com, MacroFields::number(fields.at(0)));
    MacroFields::selectListCode(ui->speed, MacroFields::number(fields.at(1)));
    MacroFields::selectListCode(ui->parity, MacroFields::number(fields.at(2)));
    MacroFields::selectListCode(ui->stopbit, MacroFields::number(fields.at(3)));
}
