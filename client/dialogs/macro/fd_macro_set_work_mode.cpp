#include "fd_macro_set_work_mode.h"
#include "ui_fd_macro_set_work_mode.h"

#include "macrofields.h"

FD_MACRO_SET_WORK_MODE::FD_MACRO_SET_WORK_MODE(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_WORK_MODE)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_WORK_MODE::~FD_MACRO_SET_WORK_MODE()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_WORK_MODE::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_WORK_MODE");
}

QString FD_MACRO_SET_WORK_MODE::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->comboBox)});
}

void FD_MACRO_SET_WORK_MODE::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 1)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
}
