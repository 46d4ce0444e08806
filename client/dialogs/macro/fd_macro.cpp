#include "fd_macro.h"

#include "fingerprint.h"

#include <QDialogButtonBox>

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
    return QString();
}

QString FD_MACRO::macroHash() const
{
    return QString();
}

void FD_MACRO::setMacroParams(const QString &) { }

void FD_MACRO::setMacroDesc(const QString &) { }

void FD_MACRO::connectButtons(QDialogButtonBox *buttons)
{
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
