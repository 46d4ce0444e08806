#include "scripteddialogs.h"

const QString scriptedDialogs::Cancel = QStringLiteral("<cancel>");

QString scriptedDialogs::next()
{
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString scriptedDialogs::existingDirectory(
    QWidget *, const QString &caption, const QString &directory)
{
    asked.append({QStringLiteral("folder"), caption, directory, QString()});
    return next();
}

QString scriptedDialogs::openFileName(
    QWidget *, const QString &caption, const QString &directory, const QString &filter)
{
    asked.append({QStringLiteral("file"), caption, directory, filter});
    return next();
}

QString scriptedDialogs::text(
    QWidget *, const QString &title, const QString &label, const QString &preset, bool *ok)
{
    asked.append({QStringLiteral("text"), title, preset, label});
    const QString answer = next();
    *ok = answer != Cancel;
    return *ok ? answer : QString();
}

bool scriptedDialogs::yes(const QString &title, const QString &question, const QString &icon)
{
    asked.append({QStringLiteral("yes"), title, question, icon});
    return !yesAnswers.isEmpty() && yesAnswers.takeFirst();
}

void scriptedDialogs::warning(QWidget *, const QString &title, const QString &message)
{
    asked.append({QStringLiteral("warning"), title, message, QString()});
}
