#include "fd_macro_clear_signals.h"
#include "ui_fd_macro_clear_signals.h"

#include "macrofields.h"

FD_MACRO_CLEAR_SIGNALS::FD_MACRO_CLEAR_SIGNALS(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_CLEAR_SIGNALS)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_CLEAR_SIGNALS::~FD_MACRO_CLEAR_SIGNALS()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_CLEAR_SIGNALS::macroName() const
{
    return QStringLiteral("FD_MACRO_CLEAR_SIGNALS");
}

QString FD_MACRO_CLEAR_SIGNALS::macroParams() const
{
    return MacroFields::join(
        {ui->no->value(), MacroFields::checkMask({ui->trip, ui->alarm, ui->interlock})});
}

void FD_MACRO_CLEAR_SIGNALS::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 2)
        return;
    ui->no->setValue(MacroFields::number(fields.at(0)));
    MacroFields::setCheckMask(
        {ui->trip, ui->alarm, ui->interlock}, MacroFields::mask(fields.at(1)));
}
