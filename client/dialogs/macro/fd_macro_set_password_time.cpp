#include "fd_macro_set_password_time.h"
#include "ui_fd_macro_set_password_time.h"

#include "macrofields.h"

FD_MACRO_SET_PASSWORD_TIME::FD_MACRO_SET_PASSWORD_TIME(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_PASSWORD_TIME)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_PASSWORD_TIME::~FD_MACRO_SET_PASSWORD_TIME()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_PASSWORD_TIME::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_PASSWORD_TIME");
}

QString FD_MACRO_SET_PASSWORD_TIME::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->comboBox), ui->no->value()});
}

void FD_MACRO_SET_PASSWORD_TIME::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 2)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
    ui->no->setValue(MacroFields::number(fields.at(1)));
}
