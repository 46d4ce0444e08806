#include "boarddialogs.h"

#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QMessageBox>

boardDialogs::~boardDialogs() = default;

QString boardDialogs::existingDirectory(
    QWidget *parent, const QString &caption, const QString &directory)
{
    return QFileDialog::getExistingDirectory(parent, caption, directory, QFileDialog::ShowDirsOnly);
}

QString boardDialogs::openFileName(
    QWidget *parent, const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString boardDialogs::text(
    QWidget *parent, const QString &title, const QString &label, const QString &preset, bool *ok)
{
    return QInputDialog::getText(parent, title, label, QLineEdit::Normal, preset, ok);
}

bool boardDialogs::yes(const QString &title, const QString &question, const QString &icon)
{
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No);
    box.setWindowIcon(QIcon(icon));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void boardDialogs::warning(QWidget *parent, const QString &title, const QString &message)
{
    QMessageBox::warning(parent, title, message);
}
