#include "fd_macro_set_port_timeout.h"
#include "ui_fd_macro_set_port_timeout.h"

#include "macrofields.h"

FD_MACRO_SET_PORT_TIMEOUT::FD_MACRO_SET_PORT_TIMEOUT(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_PORT_TIMEOUT)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_PORT_TIMEOUT::~FD_MACRO_SET_PORT_TIMEOUT()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_PORT_TIMEOUT::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_PORT_TIMEOUT");
}

QString FD_MACRO_SET_PORT_TIMEOUT::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->comboBox), ui->no->value()});
}

void FD_MACRO_SET_PORT_TIMEOUT::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 2)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
    ui->no->setValue(MacroFields::number(fields.at(1)));
}
