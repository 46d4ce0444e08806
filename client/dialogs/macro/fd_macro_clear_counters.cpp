#include "fd_macro_clear_counters.h"
#include "ui_fd_macro_clear_counters.h"

#include "macrofields.h"

FD_MACRO_CLEAR_COUNTERS::FD_MACRO_CLEAR_COUNTERS(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_CLEAR_COUNTERS)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_CLEAR_COUNTERS::~FD_MACRO_CLEAR_COUNTERS()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_CLEAR_COUNTERS::macroName() const
{
    return QStringLiteral("FD_MACRO_CLEAR_COUNTERS");
}

QString FD_MACRO_CLEAR_COUNTERS::macroParams() const
{
    return MacroFields::join({MacroFields::listCode(ui->comboBox)});
}

void FD_MACRO_CLEAR_COUNTERS::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 1)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
}
