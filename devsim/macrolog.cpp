#include "macrolog.h"

#include <QStringList>

bool MacroLog::open(const QString &path, QString *error)
{
    return file.open(path, error);
}

QString MacroLog::line(
    const char *kind, int code, int specification, const QVector<quint16> &parameters)
{
    QStringList words;
    for (const quint16 word : parameters)
        words.append(QString::number(word));
    return QStringLiteral("%1 code=%2 spec=%3 params=%4")
        .arg(QLatin1String(kind))
        .arg(code)
        .arg(specification)
        .arg(words.join(QLatin1Char(' ')));
}

void MacroLog::writeMacro(
    const char *kind, int code, int specification, const QVector<quint16> &parameters)
{
    if (file.isOpen())
        file.writeLine(line(kind, code, specification, parameters).toLatin1());
}
