#include "xlsxcelltext.h"

#include <QByteArray>

namespace QXlsx::CellText {

static ushort unit(QChar c)
{
    return c.unicode();
}

static ushort unit(char c)
{
    return uchar(c);
}

static int hexValue(ushort u)
{
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The code of "_xHHHH" at text[at] (the closing underscore not looked at),
// or -1; for QString and for UTF-8 bytes alike, as the pattern is ASCII.
template<typename Text> static int codeAt(const Text &text, int at)
{
    if (at + 6 > text.size() || unit(text.at(at)) != '_' || unit(text.at(at + 1)) != 'x')
        return -1;
    int code = 0;
    for (int i = at + 2; i < at + 6; ++i) {
        const int digit = hexValue(unit(text.at(i)));
        if (digit < 0)
            return -1;
        code = code * 16 + digit;
    }
    return code;
}

// The code of the escape "_xHHHH_" at text[at], or -1.
template<typename Text> static int escapeAt(const Text &text, int at)
{
    const int code = codeAt(text, at);
    return code >= 0 && at + 6 < text.size() && unit(text.at(at + 6)) == '_' ? code : -1;
}

// Characters that XML 1.0 can carry as they are (tab, line feed and carriage
// return included; the carriage return is handled by the writer).
static bool isXmlCharacter(ushort u)
{
    return u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF)
        || (u >= 0xE000 && u <= 0xFFFD);
}

// Whether escape() writes the character as "_xHHHH_" (a lone surrogate
// becomes U+FFFD instead).
static bool escapesAsCode(QChar c)
{
    return !c.isSurrogate() && !isXmlCharacter(c.unicode());
}

// True when the underscore at text[at] would read as the start of an escape
// once the text is escaped: "_xHHHH" followed by an underscore, or by a
// character that is itself written as "_xHHHH_".
static bool underscoreReadsAsEscape(const QString &text, int at)
{
    if (codeAt(text, at) < 0 || at + 6 >= text.size())
        return false;
    const QChar after = text.at(at + 6);
    return after == QLatin1Char('_') || escapesAsCode(after);
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
        } else if (escapesAsCode(c)) {
            result += escapeCode(u);
        } else if (u == '_' && underscoreReadsAsEscape(text, i)) {
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
        else if (c.isSurrogate() || escapesAsCode(c) || underscoreReadsAsEscape(text, i))
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
        const int code = escapeAt(text, i);
        if (code >= 0) {
            result += QChar(ushort(code));
            i += 6;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

static void appendUtf8(uint code, QByteArray *out)
{
    const uint units[] = {code};
    out->append(QString::fromUcs4(units, 1).toUtf8());
}

void appendUnescaped(QByteArray *out, const QByteArray &stored)
{
    const int size = stored.size();
    int done = 0;
    for (int i = stored.indexOf('_'); i >= 0; i = stored.indexOf('_', i)) {
        int code = escapeAt(stored, i);
        if (code < 0) {
            ++i;
            continue;
        }
        out->append(stored.constData() + done, i - done);
        i += 7;
        const int low = QChar::isHighSurrogate(uint(code)) ? escapeAt(stored, i) : -1;
        if (QChar::isLowSurrogate(uint(low))) {
            code = int(QChar::surrogateToUcs4(ushort(code), ushort(low)));
            i += 7;
        } else if (QChar::isSurrogate(uint(code))) {
            code = QChar::ReplacementCharacter;
        }
        appendUtf8(uint(code), out);
        done = i;
    }
    if (done == 0)
        out->append(stored);
    else
        out->append(stored.constData() + done, size - done);
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
