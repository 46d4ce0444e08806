#pragma once

#include <QString>

class QWidget;

// The questions the main window asks the user. The program uses the standard
// dialogs below; tests hand in their own answers.
class boardDialogs
{
public:
    virtual ~boardDialogs();

    // A folder, or the empty text when the user cancelled.
    virtual QString existingDirectory(
        QWidget *parent, const QString &caption, const QString &directory);
    // A file, or the empty text when the user cancelled.
    virtual QString openFileName(
        QWidget *parent, const QString &caption, const QString &directory, const QString &filter);
    // A line of text; `ok` is false when the user cancelled.
    virtual QString text(QWidget *parent, const QString &title, const QString &label,
        const QString &preset, bool *ok);
    // A question with Yes (the default) and No, in a box of its own without a
    // parent, titled `title`, with the window icon `icon`. True for Yes.
    virtual bool yes(const QString &title, const QString &question, const QString &icon);
    // Tells the user that something failed.
    virtual void warning(QWidget *parent, const QString &title, const QString &message);
};
