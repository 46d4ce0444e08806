#include "argumentline.h"

namespace ArgumentLine {

QStringList split(const QString &text)
{
    QStringList list;
    QString argument;
    bool started = false; // an argument has begun, possibly an empty quoted one
    bool inQuote = false;
    int quotes = 0; // consecutive double quotes just read
    const auto settleQuotes = [&]() {
        if (quotes == 1)
            inQuote = !inQuote;
        quotes = 0;
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            started = true;
            if (++quotes == 3) {
                argument += c;
                quotes = 0;
            }
            continue;
        }
        settleQuotes();
        if (!inQuote && c.isSpace()) {
            if (started)
                list << argument;
            argument.clear();
            started = false;
        } else {
            argument += c;
            started = true;
        }
    }
    settleQuotes();
    if (started)
        list << argument;
    return list;
}

QString join(const QStringList &arguments)
{
    QStringList written;
    for (const QString &argument : arguments) {
        bool quoted = argument.isEmpty();
        for (const QChar c : argument)
            quoted = quoted || c.isSpace() || c == QLatin1Char('"');
        if (!quoted) {
            written << argument;
            continue;
        }
        QString text = argument;
        text.replace(QLatin1String("\""), QLatin1String("\"\"\""));
        written << QLatin1Char('"') + text + QLatin1Char('"');
    }
    return written.join(QLatin1Char(' '));
}

} // namespace ArgumentLine
