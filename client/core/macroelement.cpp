#include "macroelement.h"
#include "ui_macroelement.h"

#include "deletequestion.h"
#include "editmacroelementtolayout.h"
#include "fd_macro.h"
#include "fingerprint.h"
#include "macrodialogfactory.h"
#include "undostack.h"

#include <memory>

macroElement::macroElement(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::macroElement)
{
    ui->setupUi(this);
    connections[0] = connect(
        ui->exe, &QAbstractButton::pressed, this, &macroElement::commandExe, Qt::QueuedConnection);
    connections[1] = connect(ui->edit, &QAbstractButton::pressed, this, &macroElement::commandEdit,
        Qt::QueuedConnection);
    connections[2] = connect(
        ui->del, &QAbstractButton::pressed, this, &macroElement::commandDel, Qt::QueuedConnection);
}

macroElement::~macroElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
    delete ui;
}

QString macroElement::macro() const
{
    return ui->macro->text();
}

QString macroElement::param() const
{
    return ui->param->text();
}

QString macroElement::desc() const
{
    return ui->desc->text();
}

void macroElement::setMacro(const QString &macro)
{
    ui->macro->setText(macro);
}

void macroElement::setParam(const QString &param)
{
    ui->param->setText(param);
}

void macroElement::setDesc(const QString &desc)
{
    ui->desc->setText(desc);
}

QJsonObject macroElement::toJson() const
{
    return QJsonObject {{QStringLiteral("desc"), desc()}, {QStringLiteral("macro"), macro()},
        {QStringLiteral("param"), param()}};
}

QString macroElement::hash() const
{
    return fingerprint({desc(), macro(), param()});
}

void macroElement::commandExe()
{
    exeRequested = true;
    emit exe();
}

void macroElement::commandDel()
{
    if (askDeleteElement(this))
        emit del();
}

// Opens the parameter dialog of the row's macro; a name that no dialog serves
// opens nothing.
void macroElement::commandEdit()
{
    const std::unique_ptr<FD_MACRO> dialog(createMacroDialog(macro()));
    if (!dialog)
        return;
    dialog->setMacroDesc(desc());
    dialog->setMacroParams(param());
    if (dialog->exec() != QDialog::Accepted || dialog->macroHash() == hash())
        return;
    if (undoStack) {
        undoStack->push(new editMacroElementToLayout(this, *dialog));
    } else {
        setMacro(dialog->macroName());
        setParam(dialog->macroParams());
        setDesc(dialog->macroDesc());
    }
}
