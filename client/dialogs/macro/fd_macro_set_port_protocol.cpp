#include "fd_macro_set_port_protocol.h"
#include "ui_fd_macro_set_port_protocol.h"

#include "macrofields.h"

FD_MACRO_SET_PORT_PROTOCOL::FD_MACRO_SET_PORT_PROTOCOL(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_PORT_PROTOCOL)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_PORT_PROTOCOL::~FD_MACRO_SET_PORT_PROTOCOL()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_PORT_PROTOCOL::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_PORT_PROTOCOL");
}

QString FD_MACRO_SET_PORT_PROTOCOL::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->com), MacroFields::listCode(ui->protocol)});
}

void FD_MACRO_SET_PORT_PROTOCOL::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 2)
        return;
    MacroFields::selectListCode(ui->com, MacroFields::number(fields.at(0)));
    MacroFields::selectListCode(ui->protocol, MacroFields::number(fields.at(1)));
}
