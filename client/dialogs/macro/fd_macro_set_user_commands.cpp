#include "fd_macro_set_user_commands.h"
#include "ui_fd_macro_set_user_commands.h"

#include "macrofields.h"

FD_MACRO_SET_USER_COMMANDS::FD_MACRO_SET_USER_COMMANDS(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_USER_COMMANDS)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_USER_COMMANDS::~FD_MACRO_SET_USER_COMMANDS()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_USER_COMMANDS::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_USER_COMMANDS");
}

QString FD_MACRO_SET_USER_COMMANDS::macroParams() const
{
    return MacroFields::join({ui->no->value()});
}

void FD_MACRO_SET_USER_COMMANDS::setMacroParams(const QString &params)
{
    // The whole text is one number; it is not split at blanks.
    ui->no->setValue(MacroFields::number(params));
}
