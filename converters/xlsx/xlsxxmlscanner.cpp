#include "xlsxxmlscanner.h"

#include <algorithm>
#include <cstring>

namespace QXlsx {

namespace {

const qint64 ChunkSize = 64 * 1024;

void appendUtf8(uint code, QByteArray *out)
{
    if (code < 0x80) {
        out->append(char(code));
    } else if (code < 0x800) {
        out->append(char(0xC0 | (code >> 6)));
        out->append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->append(char(0xE0 | (code >> 12)));
        out->append(char(0x80 | ((code >> 6) & 0x3F)));
        out->append(char(0x80 | (code & 0x3F)));
    } else {
        out->append(char(0xF0 | (code >> 18)));
        out->append(char(0x80 | ((code >> 12) & 0x3F)));
        out->append(char(0x80 | ((code >> 6) & 0x3F)));
        out->append(char(0x80 | (code & 0x3F)));
    }
}

bool isXmlCharacter(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The local part of a qualified name: "x:row" gives "row".
void localName(const char *name, int length, const char **local, int *localLength)
{
    const char *colon = static_cast<const char *>(std::memchr(name, ':', size_t(length)));
    if (!colon) {
        *local = name;
        *localLength = length;
    } else {
        *local = colon + 1;
        *localLength = int(name + length - colon - 1);
    }
}

bool sameName(const char *name, int length, const char *wanted)
{
    return std::strncmp(name, wanted, size_t(length)) == 0 && wanted[length] == '\0';
}

} // namespace

XmlScanner::XmlScanner(Source source, std::function<QString()> sourceError, int maxToken)
    : source(std::move(source))
    , sourceError(std::move(sourceError))
    , maxToken(maxToken)
{ }

bool XmlScanner::fill()
{
    if (atEnd)
        return false;
    if (start > 0) {
        countLines(start);
        linesCountedTo -= start;
        std::memmove(buffer.data(), buffer.constData() + start, size_t(end - start));
        end -= start;
        start = 0;
    }
    if (buffer.size() < end + ChunkSize)
        buffer.resize(int(end + ChunkSize));
    const qint64 count = source(buffer.data() + end, ChunkSize);
    if (count < 0) {
        fail(sourceError());
        return false;
    }
    if (count == 0) {
        atEnd = true;
        return false;
    }
    end += count;
    return true;
}

// Makes the next `bytes` unread bytes available; false at the end of the
// part, on a read error or when a token would grow past maxToken.
bool XmlScanner::require(qint64 bytes)
{
    while (end - start < bytes) {
        if (bytes > maxToken) {
            fail(QStringLiteral("an XML token is longer than %1 bytes").arg(maxToken));
            return false;
        }
        if (!fill())
            return false;
    }
    return true;
}

// The offset from `start` of the first c at or after offset from; -1 when the
// part ends first, -2 on an error.
qint64 XmlScanner::find(char c, qint64 from)
{
    for (;;) {
        if (start + from < end) {
            const void *found
                = std::memchr(buffer.constData() + start + from, c, size_t(end - start - from));
            if (found)
                return static_cast<const char *>(found) - (buffer.constData() + start);
            from = end - start;
        }
        if (!require(from + 1))
            return !error.isEmpty() ? -2 : -1;
    }
}

qint64 XmlScanner::find(const char *pattern, qint64 from)
{
    const qint64 length = qint64(std::strlen(pattern));
    for (;;) {
        const qint64 at = find(pattern[0], from);
        if (at < 0)
            return at;
        if (!require(at + length))
            return !error.isEmpty() ? -2 : -1;
        if (std::memcmp(buffer.constData() + start + at, pattern, size_t(length)) == 0)
            return at;
        from = at + 1;
    }
}

XmlScanner::Token XmlScanner::fail(const QString &message)
{
    if (error.isEmpty())
        error = message;
    current = Invalid;
    return Invalid;
}

void XmlScanner::countLines(qint64 upTo)
{
    if (upTo > linesCountedTo) {
        lines += std::count(buffer.constData() + linesCountedTo, buffer.constData() + upTo, '\n');
        linesCountedTo = upTo;
    }
}

qint64 XmlScanner::lineNumber() const
{
    const qint64 upTo = qMin(start, end);
    if (upTo <= linesCountedTo)
        return lines;
    return lines + std::count(buffer.constData() + linesCountedTo, buffer.constData() + upTo, '\n');
}

bool XmlScanner::isName(const char *localName) const
{
    return sameName(nameStart, nameLength, localName);
}

bool XmlScanner::attribute(const char *wanted, QByteArray *value) const
{
    const char *tag = buffer.constData() + tagOffset;
    for (const Attribute &attribute : attributes) {
        const char *local = nullptr;
        int localLength = 0;
        localName(tag + attribute.nameStart, attribute.nameLength, &local, &localLength);
        if (sameName(local, localLength, wanted)) {
            value->resize(0);
            // decode() only fails on what readTag() already checked.
            const_cast<XmlScanner *>(this)->decode(
                tag + attribute.valueStart, attribute.valueLength, true, value);
            return true;
        }
    }
    return false;
}

XmlScanner::Token XmlScanner::next()
{
    if (!error.isEmpty())
        return Invalid;
    if (!started) {
        started = true;
        if (require(2)) {
            const uchar first = uchar(buffer.at(int(start)));
            const uchar second = uchar(buffer.at(int(start + 1)));
            if ((first == 0xFE && second == 0xFF) || (first == 0xFF && second == 0xFE))
                return fail(QStringLiteral("the part is UTF-16; only UTF-8 parts are read"));
            if (first == 0xEF && second == 0xBB && require(3)
                && uchar(buffer.at(int(start + 2))) == 0xBF)
                start += 3;
        } else if (!error.isEmpty()) {
            return Invalid;
        }
    }
    if (pendingEnd) {
        pendingEnd = false;
        openNames.resize(openStarts.back());
        openStarts.pop_back();
        return current = EndElement;
    }
    for (;;) {
        if (!require(1)) {
            if (!error.isEmpty())
                return Invalid;
            if (!rootSeen || !openStarts.empty())
                return fail(QStringLiteral("the part ends before its XML is complete"));
            return current = EndDocument;
        }
        if (buffer.at(int(start)) != '<') {
            const Token token = readText();
            if (token != EndDocument) // EndDocument: blanks outside the root, skipped
                return token;
            continue;
        }
        if (!require(2))
            return fail(QStringLiteral("the part ends inside a tag"));
        const char second = buffer.at(int(start + 1));
        if (second == '/')
            return readEndTag();
        if (second == '?' || second == '!') {
            const Token token = readMarkup();
            if (token != EndDocument) // EndDocument: a comment or instruction, skipped
                return token;
            continue;
        }
        return readTag();
    }
}

XmlScanner::Token XmlScanner::readText()
{
    qint64 length = find('<', 0);
    if (length == -2)
        return Invalid;
    if (length == -1)
        length = end - start;
    const char *data = buffer.constData() + start;
    if (openStarts.empty()) {
        for (qint64 i = 0; i < length; ++i) {
            if (!isSpace(data[i]))
                return fail(QStringLiteral("text outside the root element"));
        }
        start += length;
        return EndDocument;
    }
    characters.resize(0);
    if (!decode(data, int(length), false, &characters))
        return Invalid;
    start += length;
    return current = Characters;
}

// "<?...?>" (checked for its encoding), "<!--...-->" or "<![CDATA[...]]>";
// EndDocument for markup that is skipped.
XmlScanner::Token XmlScanner::readMarkup()
{
    if (buffer.at(int(start + 1)) == '?') {
        const qint64 close = find("?>", 2);
        if (close < 0)
            return close == -2 ? Invalid : fail(QStringLiteral("unterminated instruction"));
        const QByteArray instruction(buffer.constData() + start + 2, int(close - 2));
        if (instruction.startsWith("xml ") || instruction.startsWith("xml\t")
            || instruction.startsWith("xml\r") || instruction.startsWith("xml\n")) {
            const int at = instruction.indexOf("encoding");
            if (at >= 0) {
                const int open = instruction.indexOf('=', at);
                int quote = open + 1;
                while (quote < instruction.size() && isSpace(instruction.at(quote)))
                    ++quote;
                const int closing = quote < instruction.size()
                    ? instruction.indexOf(instruction.at(quote), quote + 1)
                    : -1;
                const QByteArray encoding
                    = closing > quote ? instruction.mid(quote + 1, closing - quote - 1) : "";
                if (encoding.toLower() != "utf-8")
                    return fail(QStringLiteral("the part is encoded as \"%1\"; only UTF-8 "
                                               "parts are read")
                                    .arg(QString::fromLatin1(encoding)));
            }
        }
        start += close + 2;
        return EndDocument;
    }
    if (require(4) && std::memcmp(buffer.constData() + start, "<!--", 4) == 0) {
        const qint64 close = find("-->", 4);
        if (close < 0)
            return close == -2 ? Invalid : fail(QStringLiteral("unterminated comment"));
        start += close + 3;
        return EndDocument;
    }
    if (require(9) && std::memcmp(buffer.constData() + start, "<![CDATA[", 9) == 0) {
        if (openStarts.empty())
            return fail(QStringLiteral("text outside the root element"));
        const qint64 close = find("]]>", 9);
        if (close < 0)
            return close == -2 ? Invalid : fail(QStringLiteral("unterminated CDATA section"));
        characters.resize(0);
        // Entities are not read in CDATA; line ends are normalised all the same.
        const char *data = buffer.constData() + start + 9;
        const int length = int(close - 9);
        if (!isUtf8(data, length))
            return fail(QStringLiteral("text that is not UTF-8"));
        characters.reserve(length);
        for (int i = 0; i < length; ++i) {
            if (data[i] == '\r') {
                characters.append('\n');
                if (i + 1 < length && data[i + 1] == '\n')
                    ++i;
            } else {
                characters.append(data[i]);
            }
        }
        start += close + 3;
        return current = Characters;
    }
    if (!error.isEmpty())
        return Invalid;
    return fail(QStringLiteral("document type declarations and other markup are not read"));
}

XmlScanner::Token XmlScanner::readTag()
{
    // Offsets are from `start`, which stays put while the tag is read.
    qint64 i = 1;
    const auto at = [this](qint64 offset) { return buffer.at(int(start + offset)); };
    const auto need = [this](qint64 offset) {
        if (require(offset + 1))
            return true;
        if (error.isEmpty())
            fail(QStringLiteral("the part ends inside a tag"));
        return false;
    };
    while (need(i) && !isSpace(at(i)) && at(i) != '>' && at(i) != '/')
        ++i;
    if (!error.isEmpty())
        return Invalid;
    const qint64 qualifiedLength = i - 1;
    if (qualifiedLength == 0)
        return fail(QStringLiteral("a tag without a name"));
    attributes.clear();
    bool empty = false;
    for (;;) {
        while (need(i) && isSpace(at(i)))
            ++i;
        if (!error.isEmpty())
            return Invalid;
        if (at(i) == '>') {
            ++i;
            break;
        }
        if (at(i) == '/') {
            if (!need(i + 1))
                return Invalid;
            if (at(i + 1) != '>')
                return fail(QStringLiteral("a malformed tag"));
            i += 2;
            empty = true;
            break;
        }
        const qint64 attributeName = i;
        while (need(i) && !isSpace(at(i)) && at(i) != '=' && at(i) != '>' && at(i) != '/')
            ++i;
        if (!error.isEmpty())
            return Invalid;
        const qint64 attributeNameLength = i - attributeName;
        while (need(i) && isSpace(at(i)))
            ++i;
        if (!error.isEmpty())
            return Invalid;
        if (attributeNameLength == 0 || at(i) != '=')
            return fail(QStringLiteral("an attribute without a value"));
        ++i;
        while (need(i) && isSpace(at(i)))
            ++i;
        if (!error.isEmpty())
            return Invalid;
        const char quote = at(i);
        if (quote != '"' && quote != '\'')
            return fail(QStringLiteral("an attribute value without quotes"));
        const qint64 close = find(quote, i + 1);
        if (close < 0)
            return close == -2 ? Invalid : fail(QStringLiteral("the part ends inside a tag"));
        if (std::memchr(buffer.constData() + start + i + 1, '<', size_t(close - i - 1)))
            return fail(QStringLiteral("\"<\" in an attribute value"));
        if (!isUtf8(buffer.constData() + start + i + 1, close - i - 1))
            return fail(QStringLiteral("an attribute value that is not UTF-8"));
        attributes.push_back(
            {int(attributeName), int(attributeNameLength), int(i + 1), int(close - i - 1)});
        i = close + 1;
        if (!need(i))
            return Invalid;
        if (!isSpace(at(i)) && at(i) != '>' && at(i) != '/')
            return fail(QStringLiteral("attributes without blanks between them"));
    }
    // Entity references are checked now, so that attribute() cannot fail.
    for (const Attribute &attribute : attributes) {
        const char *value = buffer.constData() + start + attribute.valueStart;
        QByteArray check;
        if (std::memchr(value, '&', size_t(attribute.valueLength))
            && !decode(value, attribute.valueLength, true, &check))
            return Invalid;
    }
    if (rootSeen && openStarts.empty())
        return fail(QStringLiteral("more than one root element"));
    if (openStarts.size() >= size_t(MaxDepth))
        return fail(QStringLiteral("elements nested deeper than %1").arg(MaxDepth));
    rootSeen = true;
    tagOffset = start;
    const char *qualified = buffer.constData() + start + 1;
    openStarts.push_back(openNames.size());
    openNames.append(qualified, size_t(qualifiedLength));
    localName(qualified, int(qualifiedLength), &nameStart, &nameLength);
    start += i;
    pendingEnd = empty;
    return current = StartElement;
}

XmlScanner::Token XmlScanner::readEndTag()
{
    const qint64 close = find('>', 2);
    if (close < 0)
        return close == -2 ? Invalid : fail(QStringLiteral("the part ends inside a tag"));
    qint64 length = close - 2;
    const char *qualified = buffer.constData() + start + 2;
    while (length > 0 && isSpace(qualified[length - 1]))
        --length;
    if (openStarts.empty())
        return fail(QStringLiteral("an end tag without its start tag"));
    const size_t open = openStarts.back();
    if (size_t(length) != openNames.size() - open
        || std::memcmp(openNames.data() + open, qualified, size_t(length)) != 0)
        return fail(
            QStringLiteral("end tag </%1> does not match <%2>")
                .arg(QString::fromUtf8(qualified, int(length)),
                    QString::fromUtf8(openNames.data() + open, int(openNames.size() - open))));
    openNames.resize(open);
    openStarts.pop_back();
    localName(qualified, int(length), &nameStart, &nameLength);
    start += close + 1;
    return current = EndElement;
}

// Appends data to *out with entities and character references replaced and
// line ends normalised; attribute values also turn blanks into spaces.
bool XmlScanner::decode(const char *data, int size, bool attributeValue, QByteArray *out)
{
    const char *ampersand = static_cast<const char *>(std::memchr(data, '&', size_t(size)));
    const char *carriage = static_cast<const char *>(std::memchr(data, '\r', size_t(size)));
    if (!attributeValue && !isUtf8(data, size)) {
        fail(QStringLiteral("text that is not UTF-8"));
        return false;
    }
    if (!ampersand && !carriage && !attributeValue) {
        out->append(data, size);
        return true;
    }
    out->reserve(out->size() + size);
    for (int i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r') {
            out->append(attributeValue ? ' ' : '\n');
            if (i + 1 < size && data[i + 1] == '\n')
                ++i;
        } else if (attributeValue && (c == '\n' || c == '\t')) {
            out->append(' ');
        } else if (c != '&') {
            out->append(c);
        } else {
            const char *semicolon
                = static_cast<const char *>(std::memchr(data + i, ';', size_t(size - i)));
            if (!semicolon || semicolon - (data + i) > 12) {
                fail(QStringLiteral("an unterminated entity reference"));
                return false;
            }
            const QByteArray entity(data + i + 1, int(semicolon - data - i - 1));
            i = int(semicolon - data);
            if (entity == "lt") {
                out->append('<');
            } else if (entity == "gt") {
                out->append('>');
            } else if (entity == "amp") {
                out->append('&');
            } else if (entity == "quot") {
                out->append('"');
            } else if (entity == "apos") {
                out->append('\'');
            } else if (entity.startsWith('#')) {
                bool ok = false;
                const uint code = entity.startsWith("#x") ? entity.mid(2).toUInt(&ok, 16)
                                                          : entity.mid(1).toUInt(&ok, 10);
                if (!ok || !isXmlCharacter(code) || entity.contains('+') || entity.contains('-')) {
                    fail(QStringLiteral("a character reference to no XML character: &%1;")
                             .arg(QString::fromLatin1(entity)));
                    return false;
                }
                appendUtf8(code, out);
            } else {
                fail(QStringLiteral("an unknown entity &%1;").arg(QString::fromUtf8(entity)));
                return false;
            }
        }
    }
    return true;
}

bool XmlScanner::skipElement()
{
    int depth = 1;
    while (depth > 0) {
        switch (next()) {
        case StartElement:
            ++depth;
            break;
        case EndElement:
            --depth;
            break;
        case Characters:
            break;
        default:
            return false;
        }
    }
    return true;
}

bool XmlScanner::appendElementText(QByteArray *text)
{
    for (;;) {
        switch (next()) {
        case Characters:
            if (text->size() + characters.size() > maxToken) {
                fail(QStringLiteral("a text is longer than %1 bytes").arg(maxToken));
                return false;
            }
            text->append(characters);
            break;
        case EndElement:
            return true;
        case StartElement:
            fail(QStringLiteral("an element inside the text of <%1>")
                     .arg(QString::fromUtf8(name())));
            return false;
        default:
            return false;
        }
    }
}

bool XmlScanner::isUtf8(const char *data, qint64 size)
{
    const uchar *bytes = reinterpret_cast<const uchar *>(data);
    qint64 i = 0;
    while (i < size) {
        // Eight bytes at a time while they are ASCII.
        while (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, bytes + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const uchar c = bytes[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        uint code = 0;
        uint minimum = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
            minimum = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
            minimum = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= size || (bytes[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace QXlsx
