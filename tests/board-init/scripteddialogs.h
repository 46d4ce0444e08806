#pragma once

#include "boarddialogs.h"

#include <QList>
#include <QStringList>

// Answers the main window's questions from lists prepared by a test and
// records every question asked.
class scriptedDialogs : public boardDialogs
{
public:
    // Answer that cancels a text question.
    static const QString Cancel;

    struct Question
    {
        QString kind; // "folder", "file", "text", "yes", "warning"
        QString caption;
        QString start; // starting folder or file, preset text
        QString filter; // file filter; label of a text question; icon of a yes question
    };

    QStringList answers; // for folder, file and text questions, in order
    QList<bool> yesAnswers;
    QList<Question> asked;

    QString existingDirectory(
        QWidget *parent, const QString &caption, const QString &directory) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &directory,
        const QString &filter) override;
    QString text(QWidget *parent, const QString &title, const QString &label, const QString &preset,
        bool *ok) override;
    bool yes(const QString &title, const QString &question, const QString &icon) override;
    void warning(QWidget *parent, const QString &title, const QString &message) override;

private:
    QString next();
};
