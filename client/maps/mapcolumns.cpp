#include "mapcolumns.h"

#include <QHash>
#include <QRegularExpression>

namespace mapColumns {

QString folded(const QString &header)
{
    static const QRegularExpression note(QStringLiteral("[\\(\\[].*$"));
    QString text = header.toLower();
    text.remove(note);
    text.replace(QChar(0x0142), QLatin1Char('l')); // ł has no decomposition
    QString plain;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    plain = plain.simplified();
    if (plain.endsWith(QLatin1Char(':')))
        plain.chop(1);
    return plain.trimmed();
}

namespace {

const QHash<QString, int> &names()
{
    static const QHash<QString, int> table = [] {
        const QList<QPair<Column, QStringList>> words {
            {Name, {"name", "description", "desc", "signal", "nazwa", "opis", "sygnal"}},
            {Kind,
                {"kind", "register kind", "register type", "area", "table", "rodzaj",
                    "rodzaj rejestru", "typ rejestru", "obszar"}},
            {Address, {"address", "addr", "register", "register address", "adres", "rejestr"}},
            {Type, {"type", "data type", "datatype", "typ", "typ danych"}},
            {Order,
                {"order", "byte order", "word order", "endianness", "kolejnosc",
                    "kolejnosc bajtow"}},
            {Length,
                {"length", "registers", "size", "count", "dlugosc", "liczba rejestrow", "rozmiar"}},
            {Scale, {"scale", "factor", "multiplier", "gain", "skala", "mnoznik", "wspolczynnik"}},
            {Offset, {"offset", "przesuniecie"}},
            {Unit, {"unit", "units", "jednostka", "jedn."}},
            {Format, {"format", "display format", "format wyswietlania"}},
            {Access, {"access", "r/w", "rw", "mode", "dostep", "tryb"}},
            {Value, {"value", "write value", "wartosc", "wartosc zapisu"}},
            {Function, {"function", "function code", "funkcja", "kod funkcji"}},
        };
        QHash<QString, int> map;
        for (const auto &[column, list] : words)
            for (const QString &word : list)
                map.insert(word, column);
        return map;
    }();
    return table;
}

} // namespace

int columnOf(const QString &header)
{
    return names().value(folded(header), -1);
}

QStringList exportHeader()
{
    return {QStringLiteral("name"), QStringLiteral("kind"), QStringLiteral("address"),
        QStringLiteral("type"), QStringLiteral("order"), QStringLiteral("length"),
        QStringLiteral("scale"), QStringLiteral("offset"), QStringLiteral("unit"),
        QStringLiteral("format"), QStringLiteral("access"), QStringLiteral("value"),
        QStringLiteral("function")};
}

QString nameOf(Column column)
{
    return exportHeader().value(column);
}

} // namespace mapColumns
