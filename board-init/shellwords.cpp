#include "shellwords.h"

QStringList shellWords(const QString &text)
{
    QStringList words;
    QString word;
    bool inWord = false;
    enum { Plain, Single, Double } quote = Plain;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (quote) {
        case Single:
            if (c == QLatin1Char('\''))
                quote = Plain;
            else
                word += c;
            break;
        case Double:
            if (c == QLatin1Char('"')) {
                quote = Plain;
            } else if (c == QLatin1Char('\\') && i + 1 < text.size()
                && QStringLiteral("\"\\$`").contains(text.at(i + 1))) {
                word += text.at(++i);
            } else {
                word += c;
            }
            break;
        case Plain:
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
                if (inWord)
                    words.append(word);
                word.clear();
                inWord = false;
                break;
            }
            inWord = true;
            if (c == QLatin1Char('\''))
                quote = Single;
            else if (c == QLatin1Char('"'))
                quote = Double;
            else if (c == QLatin1Char('\\') && i + 1 < text.size())
                word += text.at(++i);
            else
                word += c;
            break;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}
