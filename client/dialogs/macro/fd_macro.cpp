#include "fd_macro.h"

#include "fingerprint.h"

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

QString FD_MACRO::macroHash() const
{
    return descBox ? macroFingerprint() : QString();
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

QString FD_MACRO::macroFingerprint() const
{
    return fingerprint({macroDesc(), macroName(), macroParams()});
}
