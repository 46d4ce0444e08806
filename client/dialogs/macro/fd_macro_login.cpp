#include "fd_macro_login.h"
#include "ui_fd_macro_login.h"

#include "macrofields.h"

FD_MACRO_LOGIN::FD_MACRO_LOGIN(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_LOGIN)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_LOGIN::~FD_MACRO_LOGIN()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_LOGIN::macroName() const
{
    return QStringLiteral("FD_MACRO_LOGIN");
}

QString FD_MACRO_LOGIN::macroParams() const
{
    // The device takes the first four characters of the password text, so the password is
    // written as four digits: 42 goes out as 0042, never as a two-character text that would
    // be sent as two zero words.
    return QString::number(MacroFields::listCode(ui->comboBox)) + QLatin1Char(' ')
        + QStringLiteral("%1").arg(ui->password->value(), 4, 10, QLatin1Char('0'));
}

void FD_MACRO_LOGIN::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 2)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
    ui->password->setValue(MacroFields::number(fields.at(1)));
}
