#include "font.h"

QString font(const QString &text, const QString &face, const QString &color, const QString &size)
{
    QString html = face.isEmpty() ? QStringLiteral("<font ")
                                  : QStringLiteral("<font face=\"") + face + QStringLiteral("\" ");
    if (!color.isEmpty())
        html += QStringLiteral("color=\"") + color + QStringLiteral("\" ");
    if (!size.isEmpty())
        html += QStringLiteral("size=\"") + size + QStringLiteral("\" ");
    html += QLatin1Char('>') + text + QStringLiteral("</font>\n");
    return html;
}
