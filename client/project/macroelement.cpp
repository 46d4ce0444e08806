#include "macroelement.h"
#include "ui_macroelement.h"

#include "fd_macro.h"
#include "macrodialogfactory.h"

macroElement::macroElement(QWidget *parent)
    : projectElement(parent)
    , ui(new Ui::macroElement)
{
    ui->setupUi(this);
    setUpRow({ui->macro, ui->param, ui->desc},
        {QStringLiteral("macro"), QStringLiteral("param"), QStringLiteral("desc")}, {2, 0, 1},
        ui->exe, ui->edit, ui->del);
}

macroElement::~macroElement()
{
    delete ui;
}

elementRequest macroElement::request() const
{
    return elementRequest::macro(macro(), param());
}

QDialog *macroElement::createDialog(QWidget *parent, bool preset) const
{
    FD_MACRO *dialog = createMacroDialog(macro(), parent);
    if (dialog && preset) {
        dialog->setMacroDesc(desc());
        dialog->setMacroParams(param());
    }
    return dialog;
}

QStringList macroElement::dialogValues(const QDialog *dialog) const
{
    const auto *macro = static_cast<const FD_MACRO *>(dialog);
    return {macro->macroName(), macro->macroParams(), macro->macroDesc()};
}
