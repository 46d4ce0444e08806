#include "fd_macro_set_ip_mask.h"
#include "ui_fd_macro_set_ip_mask.h"

#include "macrofields.h"

FD_MACRO_SET_IP_MASK::FD_MACRO_SET_IP_MASK(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_IP_MASK)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
}

FD_MACRO_SET_IP_MASK::~FD_MACRO_SET_IP_MASK()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_IP_MASK::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_IP_MASK");
}

QString FD_MACRO_SET_IP_MASK::macroParams() const
{
    // The port, then the address from its last byte to its first.
    return MacroFields::join({MacroFields::listCode(ui->comboBox), ui->fourthbyte->value(),
        ui->thirdbyte->value(), ui->secondbyte->value(), ui->firstbyte->value()});
}

QString FD_MACRO_SET_IP_MASK::macroDesc() const
{
    return ui->desc->toPlainText();
}

QString FD_MACRO_SET_IP_MASK::macroHash() const
{
    return macroFingerprint();
}

void FD_MACRO_SET_IP_MASK::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 5)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
    ui->fourthbyte->setValue(MacroFields::number(fields.at(1)));
    ui->thirdbyte->setValue(MacroFields::number(fields.at(2)));
    ui->secondbyte->setValue(MacroFields::number(fields.at(3)));
    ui->firstbyte->setValue(MacroFields::number(fields.at(4)));
}

void FD_MACRO_SET_IP_MASK::setMacroDesc(const QString &desc)
{
    ui->desc->setText(desc);
}
