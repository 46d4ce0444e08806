#include "fd_macro_set_active_profile.h"
#include "ui_fd_macro_set_active_profile.h"

#include "macrofields.h"

FD_MACRO_SET_ACTIVE_PROFILE::FD_MACRO_SET_ACTIVE_PROFILE(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_ACTIVE_PROFILE)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_ACTIVE_PROFILE::~FD_MACRO_SET_ACTIVE_PROFILE()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_ACTIVE_PROFILE::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_ACTIVE_PROFILE");
}

QString FD_MACRO_SET_ACTIVE_PROFILE::macroParams() const
{
    return MacroFields::join({ui->no->value()});
}

void FD_MACRO_SET_ACTIVE_PROFILE::setMacroParams(const QString &params)
{
    // The whole text is one number; it is not split at blanks.
    ui->no->setValue(MacroFields::number(params));
}
