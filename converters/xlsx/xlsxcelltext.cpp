#include "xlsxcelltext.h"

#include <QByteArray>

namespace QXlsx::CellText {

static bool isHexDigit(QChar c)
{
    const ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

// True when text[at] starts "_xHHHH_".
static bool startsEscape(const QString &text, int at)
{
    if (at + 7 > text.size() || text.at(at) != QLatin1Char('_')
        || text.at(at + 1) != QLatin1Char('x') || text.at(at + 6) != QLatin1Char('_'))
        return false;
    for (int i = at + 2; i < at + 6; ++i) {
        if (!isHexDigit(text.at(i)))
            return false;
    }
    return true;
}

// Characters that XML 1.0 can carry as they are (tab, line feed and carriage
// return included; the carriage return is handled by the writer).
static bool isXmlCharacter(ushort u)
{
    return u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF)
        || (u >= 0xE000 && u <= 0xFFFD);
}

static QString escapeCode(ushort u)
{
    return QLatin1String("_x")
        + QString::number(u, 16).rightJustified(4, QLatin1Char('0')).toUpper() + QLatin1Char('_');
}

QString escape(const QString &text)
{
    QString result;
    result.reserve(text.size());
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if (c.isSurrogate()) {
            result += QChar(QChar::ReplacementCharacter);
        } else if (!isXmlCharacter(u)) {
            result += escapeCode(u);
        } else if (u == '_' && startsEscape(text, i)) {
            result += QLatin1String("_x005F_");
        } else {
            result += c;
        }
    }
    return result;
}

bool needsEscape(const QString &text)
{
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate() || !isXmlCharacter(c.unicode())
            || (c == QLatin1Char('_') && startsEscape(text, i)))
            return true;
    }
    return false;
}

QString unescape(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString result;
    result.reserve(text.size());
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        if (startsEscape(text, i)) {
            result += QChar(ushort(text.mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 6;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

static bool needsPreserve(const QString &text)
{
    if (text.isEmpty())
        return false;
    if (text.front().isSpace() || text.back().isSpace())
        return true;
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
        || text.contains(QLatin1Char('\t'));
}

// True when the text needs none of the escapes: no control characters, no
// XML specials, no underscore that might start "_xHHHH_", no surrogates.
static bool isPlain(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == '&' || u == '<' || u == '>' || u == '_' || (u >= 0xD800 && u <= 0xDFFF)
            || u >= 0xFFFE)
            return false;
    }
    return true;
}

void appendCharacters(QByteArray *xml, const QString &text)
{
    if (isPlain(text)) {
        xml->append(text.toUtf8());
        return;
    }
    const QByteArray escaped = escape(text).toUtf8();
    for (const char c : escaped) {
        switch (c) {
        case '&':
            xml->append("&amp;");
            break;
        case '<':
            xml->append("&lt;");
            break;
        case '>':
            xml->append("&gt;");
            break;
        case '\r':
            xml->append("&#13;");
            break;
        default:
            xml->append(c);
        }
    }
}

void appendTextElement(QByteArray *xml, const QString &text)
{
    if (text.isEmpty()) {
        xml->append("<t/>");
        return;
    }
    xml->append(needsPreserve(text) ? "<t xml:space=\"preserve\">" : "<t>");
    appendCharacters(xml, text);
    xml->append("</t>");
}

} // namespace QXlsx::CellText
