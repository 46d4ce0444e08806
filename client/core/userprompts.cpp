#include "userprompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QPushButton>

userPrompts::~userPrompts() = default;

QString userPrompts::padded(const QString &text)
{
    return text + QString(49, QLatin1Char(' '));
}

QMessageBox::StandardButton userPrompts::message(QWidget *parent, QMessageBox::Icon icon,
    const QString &title, const QString &text, const QString &windowIcon,
    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, padded(text), buttons, parent);
    box.setWindowIcon(QIcon(windowIcon));
    const struct
    {
        QMessageBox::StandardButton button;
        QString text;
    } names[] = {
        {QMessageBox::Yes, tr("Yes")},
        {QMessageBox::No, tr("No")},
        {QMessageBox::Cancel, tr("Cancel")},
        {QMessageBox::Close, tr("Close")},
    };
    for (const auto &name : names)
        if (QAbstractButton *button = box.button(name.button))
            button->setText(name.text);
    return QMessageBox::StandardButton(box.exec());
}

QString userPrompts::text(
    QWidget *parent, const QString &title, const QString &label, const QString &preset, bool *ok)
{
    return QInputDialog::getText(parent, title, label, QLineEdit::Normal, preset, ok);
}

QString userPrompts::item(QWidget *parent, const QString &title, const QString &label,
    const QStringList &items, int current, bool editable, bool *ok)
{
    return QInputDialog::getItem(parent, title, label, items, current, editable, ok);
}

QString userPrompts::openFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString userPrompts::saveFileName(
    QWidget *parent, const QString &caption, const QString &proposed, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

int userPrompts::exec(QDialog *dialog)
{
    return dialog->exec();
}
