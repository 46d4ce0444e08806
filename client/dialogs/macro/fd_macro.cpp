#include "fd_macro.h"

#include <QDialogButtonBox>
#include <QTextEdit>

FD_MACRO::FD_MACRO(QWidget *parent)
    : QDialog(parent)
{ }

FD_MACRO::~FD_MACRO() = default;

QString FD_MACRO::macroName() const
{
    return QString();
}

QString FD_MACRO::macroParams() const
{
    return QString();
}

QString FD_MACRO::macroDesc() const
{
    return descBox ? descBox->toPlainText() : QString();
}

// The fingerprint of the request the dialog holds; empty before a dialog has
// handed the base its description box.
QString FD_MACRO::macroHash() const
{
    return descBox ? values().fingerprint() : QString();
}

void FD_MACRO::setMacroParams(const QString &) { }

void FD_MACRO::setMacroDesc(const QString &desc)
{
    if (descBox)
        descBox->setText(desc);
}

void FD_MACRO::connectButtons(QDialogButtonBox *buttons, QTextEdit *desc)
{
    descBox = desc;
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FD_MACRO::disconnectButtons(QDialogButtonBox *buttons)
{
    disconnect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    disconnect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

macroValues FD_MACRO::values() const
{
    macroValues values;
    values.name = macroName();
    values.param = macroParams();
    values.desc = macroDesc();
    return values;
}

void FD_MACRO::setValues(const macroValues &values)
{
    setMacroDesc(values.desc);
    setMacroParams(values.param);
}
