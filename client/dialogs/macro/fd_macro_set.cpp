#include "fd_macro_set.h"
#include "ui_fd_macro_set.h"

#include "macrofields.h"

FD_MACRO_SET::FD_MACRO_SET(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
    connect(ui->params, QOverload<int>::of(&QSpinBox::valueChanged), this,
        &FD_MACRO_SET::updateParamsVisible);
    updateParamsVisible(ui->params->value());
}

FD_MACRO_SET::~FD_MACRO_SET()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET::macroName() const
{
    return QStringLiteral("FD_MACRO_SET");
}

QString FD_MACRO_SET::macroParams() const
{
    // Always all ten parameter values, hidden ones included; the driver sends only as many as
    // the params box announces.
    return MacroFields::join({ui->macro->value(), ui->specification->value(), ui->params->value(),
        ui->param_1->value(), ui->param_2->value(), ui->param_3->value(), ui->param_4->value(),
        ui->param_5->value(), ui->param_6->value(), ui->param_7->value(), ui->param_8->value(),
        ui->param_9->value(), ui->param_10->value()});
}

void FD_MACRO_SET::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 13)
        return;
    ui->macro->setValue(MacroFields::number(fields.at(0)));
    ui->specification->setValue(MacroFields::number(fields.at(1)));
    ui->params->setValue(MacroFields::number(fields.at(2)));
    ui->param_1->setValue(MacroFields::number(fields.at(3)));
    ui->param_2->setValue(MacroFields::number(fields.at(4)));
    ui->param_3->setValue(MacroFields::number(fields.at(5)));
    ui->param_4->setValue(MacroFields::number(fields.at(6)));
    ui->param_5->setValue(MacroFields::number(fields.at(7)));
    ui->param_6->setValue(MacroFields::number(fields.at(8)));
    ui->param_7->setValue(MacroFields::number(fields.at(9)));
    ui->param_8->setValue(MacroFields::number(fields.at(10)));
    ui->param_9->setValue(MacroFields::number(fields.at(11)));
    ui->param_10->setValue(MacroFields::number(fields.at(12)));
    updateParamsVisible(ui->params->value());
}

void FD_MACRO_SET::updateParamsVisible(int n)
{
    QSpinBox *const boxes[] = {ui->param_1, ui->param_2, ui->param_3, ui->param_4, ui->param_5,
        ui->param_6, ui->param_7, ui->param_8, ui->param_9, ui->param_10};
    int index = 0;
    for (QSpinBox *box : boxes)
        box->setVisible(index++ < n);
}
