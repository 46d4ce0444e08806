#include "userprompts.h"

#include "fd_macro.h"
#include "macrodialogfactory.h"

#include <QDialog>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QPushButton>
#include <QSettings>

#include <memory>

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

std::optional<macroValues> userPrompts::chooseMacro(QWidget *parent)
{
    bool ok = false;
    const QString chosen
        = item(parent, tr("Select macro"), tr("Macro:"), macroChooserNames(), 0, false, &ok);
    if (!ok)
        return std::nullopt;
    const std::unique_ptr<FD_MACRO> dialog(createMacroDialog(chosen, parent));
    if (!dialog || exec(dialog.get()) != QDialog::Accepted)
        return std::nullopt;
    macroValues values = dialog->values();
    values.name = chosen; // the chooser's spelling
    return values;
}

std::optional<QString> userPrompts::chooseProjectName(QWidget *parent, const QString &current)
{
    bool ok = false;
    const QString name = text(parent, tr("Set project name"), tr("Project name:"), current, &ok);
    if (!ok)
        return std::nullopt;
    if (name == current) {
        message(parent, QMessageBox::Information, tr("Project name ?"),
            tr("Project name already use"), QStringLiteral(":/_icons/system_info_128.png"),
            QMessageBox::Close);
        return std::nullopt;
    }
    return name;
}

void userPrompts::chooseLanguage(QWidget *parent)
{
    QSettings settings;
    const QString stored = settings.value(QStringLiteral("language")).toString();
    const QStringList items {QStringLiteral("pl"), QStringLiteral("eng")};
    bool ok = false;
    const QString chosen = item(
        parent, tr("Select language"), tr("Language"), items, items.indexOf(stored), true, &ok);
    if (!ok || chosen.isEmpty() || chosen == stored)
        return;
    settings.setValue(QStringLiteral("language"), chosen);
    message(parent, QMessageBox::Information, tr("Info"),
        tr("Please restart the application to change language"),
        QStringLiteral(":/_icons/system_info_128.png"), QMessageBox::Close);
}

bool userPrompts::chooseVerbose(QWidget *parent, bool current)
{
    const QStringList items {tr("yes"), tr("no")};
    bool ok = false;
    const QString chosen
        = item(parent, tr("Select verbose"), tr("Verbose"), items, current ? 0 : 1, true, &ok);
    return ok ? chosen == tr("yes") : current;
}
