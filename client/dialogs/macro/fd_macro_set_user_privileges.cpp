#include "fd_macro_set_user_privileges.h"
#include "ui_fd_macro_set_user_privileges.h"

#include "macrofields.h"

FD_MACRO_SET_USER_PRIVILEGES::FD_MACRO_SET_USER_PRIVILEGES(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_USER_PRIVILEGES)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_USER_PRIVILEGES::~FD_MACRO_SET_USER_PRIVILEGES()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_USER_PRIVILEGES::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_USER_PRIVILEGES");
}

QString FD_MACRO_SET_USER_PRIVILEGES::macroParams() const
{
    return MacroFields::join(
        {MacroFields::listCode(ui->user_number), MacroFields::checkMask(privilegeBoxes())});
}

void FD_MACRO_SET_USER_PRIVILEGES::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 2)
        return;
    MacroFields::selectListCode(ui->user_number, MacroFields::number(fields.at(0)));
    MacroFields::setCheckMask(privilegeBoxes(), MacroFields::mask(fields.at(1)));
}

QList<QCheckBox *> FD_MACRO_SET_USER_PRIVILEGES::privilegeBoxes() const
{
    return {ui->checkBox_1, ui->checkBox_2, ui->checkBox_3, ui->checkBox_4, ui->checkBox_5,
        ui->checkBox_6, ui->checkBox_7, ui->checkBox_8, ui->checkBox_9, ui->checkBox_10,
        ui->checkBox_11, ui->checkBox_12};
}
