#pragma once

#include "userprompts.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

// Answers the main window's questions in place of the user, from queues the
// test fills, and records every question asked. A question with no answer
// queued is cancelled (and recorded, so the test sees it).
class scriptedPrompts : public userPrompts
{
public:
    struct question
    {
        QString kind; // "message", "text", "item", "open", "save", "dialog"
        QString title;
        QString text; // message text, label, or the dialog's class
        QString icon; // window icon of a message box
        int buttons = 0;
        QStringList items;
        int current = -1;
        bool editable = false;
        QString preset;
    };

    QList<question> asked;
    QList<QMessageBox::StandardButton> messageAnswers;
    QStringList textAnswers; // a null QString cancels
    QStringList itemAnswers;
    QStringList fileAnswers; // empty cancels
    // Sets up the dialog as the user would and returns its result.
    QList<std::function<int(QDialog *)>> dialogAnswers;

    QStringList kinds() const
    {
        QStringList list;
        for (const question &q : asked)
            list << q.kind;
        return list;
    }

    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon, const QString &title,
        const QString &text, const QString &windowIcon,
        QMessageBox::StandardButtons buttons) override
    {
        question q;
        q.kind = "message";
        q.title = title;
        q.text = text;
        q.icon = windowIcon;
        q.buttons = int(buttons);
        asked << q;
        if (messageAnswers.isEmpty())
            return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::Close;
        return messageAnswers.takeFirst();
    }

    QString text(QWidget *, const QString &title, const QString &label, const QString &preset,
        bool *ok) override
    {
        question q;
        q.kind = "text";
        q.title = title;
        q.text = label;
        q.preset = preset;
        asked << q;
        const QString answer = textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
        *ok = !answer.isNull();
        return answer.isNull() ? preset : answer;
    }

    QString item(QWidget *, const QString &title, const QString &label, const QStringList &items,
        int current, bool editable, bool *ok) override
    {
        question q;
        q.kind = "item";
        q.title = title;
        q.text = label;
        q.items = items;
        q.current = current;
        q.editable = editable;
        asked << q;
        const QString answer = itemAnswers.isEmpty() ? QString() : itemAnswers.takeFirst();
        *ok = !answer.isNull();
        return answer.isNull() ? items.value(current) : answer;
    }

    QString openFileName(QWidget *, const QString &caption, const QString &filter) override
    {
        question q;
        q.kind = "open";
        q.title = caption;
        q.text = filter;
        asked << q;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }

    QString saveFileName(
        QWidget *, const QString &caption, const QString &proposed, const QString &filter) override
    {
        question q;
        q.kind = "save";
        q.title = caption;
        q.text = filter;
        q.preset = proposed;
        asked << q;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }

    int exec(QDialog *dialog) override
    {
        question q;
        q.kind = "dialog";
        q.text = QString::fromLatin1(dialog->metaObject()->className());
        asked << q;
        if (dialogAnswers.isEmpty())
            return QDialog::Rejected;
        return dialogAnswers.takeFirst()(dialog);
    }
};
