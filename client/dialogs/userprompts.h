#pragma once

#include "macrovalues.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The questions the client asks the user: message boxes, text and list
// inputs, file choosers and the dialogs of the rows. The window and the rows
// ask through one object of this class, so tests can answer in place of the
// user.
class userPrompts
{
    Q_DECLARE_TR_FUNCTIONS(userPrompts)

public:
    virtual ~userPrompts();

    // A message box with the given title, text (followed by 49 blanks, which
    // widens the box), window icon and buttons, each button with its
    // translated text; returns the button pressed.
    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
        const QString &title, const QString &text, const QString &windowIcon,
        QMessageBox::StandardButtons buttons);

    // QInputDialog::getText; ok tells whether the user confirmed.
    virtual QString text(QWidget *parent, const QString &title, const QString &label,
        const QString &preset, bool *ok);
    // QInputDialog::getItem with the item at current preselected (none when
    // current is negative); ok tells whether the user confirmed.
    virtual QString item(QWidget *parent, const QString &title, const QString &label,
        const QStringList &items, int current, bool editable, bool *ok);

    // The file choosers; an empty result means cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &filter);
    virtual QString saveFileName(
        QWidget *parent, const QString &caption, const QString &proposed, const QString &filter);

    // Runs a dialog modally and returns its result.
    virtual int exec(QDialog *dialog);
    // Runs a dialog of a row's values (one with values()) and returns the
    // values once it is accepted; nothing when it is cancelled.
    template<class Dialog> auto accepted(Dialog &dialog) -> std::optional<decltype(dialog.values())>
    {
        if (exec(&dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.values();
    }

    // The questions built on the ones above. The macro chooser and the chosen
    // macro's dialog: the request, nothing when either was cancelled.
    std::optional<macroValues> chooseMacro(QWidget *parent);
    // The name prompt, preset with current: the name entered; nothing when
    // cancelled, or when it is current, which a message says.
    std::optional<QString> chooseProjectName(QWidget *parent, const QString &current);
    // The language list; a new choice is stored in the setting "language",
    // with a notice that it takes effect at the next start.
    void chooseLanguage(QWidget *parent);
    // The verbose list; returns the chosen setting, current when cancelled.
    bool chooseVerbose(QWidget *parent, bool current);

    // The text of a message box: text and the 49 blanks.
    static QString padded(const QString &text);
};
