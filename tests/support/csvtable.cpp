#include "csvtable.h"

#include <QString>

bool parseCsv(const QByteArray &utf8, QList<QStringList> *records)
{
    const QString text = QString::fromUtf8(utf8);
    records->clear();
    QStringList record;
    QString field;
    bool quoted = false; // inside a quoted field
    bool wasQuoted = false; // the current field was quoted and has closed
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                field += text.at(++i);
            else
                quoted = false;
        } else if (c == QLatin1Char(',')) {
            record.append(field);
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r')) {
            if (i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('\n'))
                return false;
            ++i;
            record.append(field);
            records->append(record);
            record.clear();
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('"')) {
            if (!field.isEmpty() || wasQuoted)
                return false;
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char('\n') || wasQuoted) {
            return false;
        } else {
            field += c;
        }
    }
    return !quoted && field.isEmpty() && record.isEmpty() && !wasQuoted;
}
