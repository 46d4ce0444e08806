#include "fd_macro_set_active_setofsettings.h"
#include "ui_fd_macro_set_active_setofsettings.h"

#include "macrofields.h"

FD_MACRO_SET_ACTIVE_SETOFSETTINGS::FD_MACRO_SET_ACTIVE_SETOFSETTINGS(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_ACTIVE_SETOFSETTINGS)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_ACTIVE_SETOFSETTINGS::~FD_MACRO_SET_ACTIVE_SETOFSETTINGS()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_ACTIVE_SETOFSETTINGS::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_ACTIVE_SETofSETTINGS");
}

QString FD_MACRO_SET_ACTIVE_SETOFSETTINGS::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->comboBox)});
}

void FD_MACRO_SET_ACTIVE_SETOFSETTINGS::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 1)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
}
