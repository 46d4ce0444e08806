#include "projecttitle.h"

QString projectTitle(const QString &title, const QString &name, const QDateTime &time)
{
    QString shown = title;
    const int bracket = shown.indexOf(QLatin1Char('['));
    if (bracket >= 0)
        shown.truncate(bracket);
    while (shown.endsWith(QLatin1Char(' ')))
        shown.chop(1);
    if (!name.isEmpty())
        shown += QStringLiteral(" [") + name + QLatin1Char(' ')
            + time.toString(QStringLiteral("yyyy-MM-dd HH:mm")) + QLatin1Char(']');
    return shown;
}
