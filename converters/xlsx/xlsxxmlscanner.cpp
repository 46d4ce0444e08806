#include "xlsxxmlscanner.h"

#include <algorithm>
#include <cstring>

namespace QXlsx {

namespace {

const qint64 ChunkSize = 64 * 1024;

// Predicates as closures, so that the scanning loops given them inline them.
constexpr auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };

// Bytes an XML name may hold: ASCII letters, digits and "_:-.", and every
// byte of a multi-byte UTF-8 character (checked as UTF-8 on its own).
struct NameBytes
{
    bool table[256] = {};
    constexpr NameBytes()
    {
        for (int c = 0; c < 256; ++c) {
            table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '_' || c == ':' || c == '-' || c == '.' || c >= 0x80;
        }
    }
};
constexpr NameBytes nameBytes;

constexpr auto isNameByte = [](char c) { return nameBytes.table[uchar(c)]; };

bool isNameStartByte(char c)
{
    return isNameByte(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.';
}

qint64 countNewlines(const char *from, const char *to)
{
    qint64 count = 0;
    while ((from = static_cast<const char *>(std::memchr(from, '\n', size_t(to - from))))) {
        ++count;
        ++from;
    }
    return count;
}

bool isXmlCharacter(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

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

// The local part of a qualified name: "x:row" gives "row".
std::string_view localName(std::string_view name)
{
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The character a reference "#65" or "#x41" (the text between "&" and ";")
// stands for; none when it is not a reference to an XML character. Any
// number of leading zeros is allowed, as XML allows it.
std::optional<uint> characterReference(std::string_view reference)
{
    const bool hex = reference.size() > 1 && reference[1] == 'x';
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    if (digits.empty())
        return std::nullopt;
    uint code = 0;
    for (const char c : digits) {
        uint digit = 0;
        if (c >= '0' && c <= '9')
            digit = uint(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = uint(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = uint(c - 'A' + 10);
        else
            return std::nullopt;
        code = code * (hex ? 16 : 10) + digit;
        if (code > 0x10FFFF)
            return std::nullopt;
    }
    return isXmlCharacter(code) ? std::optional<uint>(code) : std::nullopt;
}

// Appends what a reference (the text between "&" and ";") stands for; false
// with *problem set when it stands for nothing.
bool appendReference(std::string_view reference, QByteArray *out, QString *problem)
{
    static const std::pair<std::string_view, char> predefined[]
        = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto &[name, character] : predefined) {
        if (reference == name) {
            out->append(character);
            return true;
        }
    }
    // At most the first 32 bytes: a reference without its ";" may run far.
    const QString written
        = QString::fromUtf8(reference.data(), int(qMin<size_t>(reference.size(), 32)));
    if (reference.empty() || reference[0] != '#') {
        *problem = QStringLiteral("an unknown entity &%1;").arg(written);
        return false;
    }
    const std::optional<uint> code = characterReference(reference);
    if (!code) {
        *problem = QStringLiteral("a character reference to no XML character: &%1;").arg(written);
        return false;
    }
    appendUtf8(*code, out);
    return true;
}

// Appends data with its line ends normalised ("\r\n" and a lone "\r" become
// "\n"; in an attribute value every line end and tab becomes a space).
void appendNormalised(const char *data, int size, bool attributeValue, QByteArray *out)
{
    for (int i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r') {
            out->append(attributeValue ? ' ' : '\n');
            if (i + 1 < size && data[i + 1] == '\n')
                ++i;
        } else if (attributeValue && (c == '\n' || c == '\t')) {
            out->append(' ');
        } else {
            out->append(c);
        }
    }
}

// Appends character data or an attribute value with its references replaced
// and its line ends normalised; false with *problem set on a reference that
// is not well-formed.
bool decode(const char *data, int size, bool attributeValue, QByteArray *out, QString *problem)
{
    const bool plain = attributeValue
        ? std::none_of(data, data + size,
            [](char c) { return c == '&' || c == '\r' || c == '\n' || c == '\t'; })
        : !std::memchr(data, '&', size_t(size)) && !std::memchr(data, '\r', size_t(size));
    if (plain) {
        out->append(data, size);
        return true;
    }
    out->reserve(out->size() + size);
    int done = 0;
    while (done < size) {
        const char *ampersand
            = static_cast<const char *>(std::memchr(data + done, '&', size_t(size - done)));
        const int plain = ampersand ? int(ampersand - data) : size;
        appendNormalised(data + done, plain - done, attributeValue, out);
        if (!ampersand)
            break;
        const char *semicolon
            = static_cast<const char *>(std::memchr(ampersand, ';', size_t(size - plain)));
        if (!semicolon) {
            *problem = QStringLiteral("an unterminated entity reference");
            return false;
        }
        if (!appendReference(
                std::string_view(ampersand + 1, size_t(semicolon - ampersand - 1)), out, problem))
            return false;
        done = int(semicolon - data) + 1;
    }
    return true;
}

} // namespace

XmlScanner::XmlScanner(Source source, std::function<QString()> sourceError, int maxToken)
    : source(std::move(source))
    , sourceError(std::move(sourceError))
    , maxToken(maxToken)
{
    // With a reserved capacity resize(0) keeps the buffer for the next text
    // instead of freeing it.
    characters.reserve(256);
}

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

// Whether the unread bytes begin with text.
bool XmlScanner::lookingAt(std::string_view text)
{
    return require(qint64(text.size()))
        && std::memcmp(buffer.constData() + start, text.data(), text.size()) == 0;
}

// The offset from `start` of the first pattern at or after offset `from`;
// none when the part ends first or on an error (hasError() tells which).
std::optional<qint64> XmlScanner::find(std::string_view pattern, qint64 from)
{
    const qint64 length = qint64(pattern.size());
    for (;;) {
        if (start + from < end) {
            const void *found = std::memchr(
                buffer.constData() + start + from, pattern[0], size_t(end - start - from));
            if (found) {
                const qint64 at = static_cast<const char *>(found) - (buffer.constData() + start);
                if (length == 1)
                    return at;
                if (!require(at + length))
                    return std::nullopt;
                if (std::memcmp(buffer.constData() + start + at, pattern.data(), pattern.size())
                    == 0)
                    return at;
                from = at + 1;
                continue;
            }
            from = end - start;
        }
        if (!require(from + 1))
            return std::nullopt;
    }
}

// As find(), failing with the message `unterminated` when the part ends first.
std::optional<qint64> XmlScanner::findClosing(
    std::string_view pattern, qint64 from, const char *unterminated)
{
    const std::optional<qint64> at = find(pattern, from);
    if (!at)
        fail(QString::fromLatin1(unterminated));
    return at;
}

// Keeps the first error: later ones are its consequences.
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
        lines += countNewlines(buffer.constData() + linesCountedTo, buffer.constData() + upTo);
        linesCountedTo = upTo;
    }
}

qint64 XmlScanner::lineNumber() const
{
    const qint64 upTo = qMin(start, end);
    if (upTo <= linesCountedTo)
        return lines;
    return lines + countNewlines(buffer.constData() + linesCountedTo, buffer.constData() + upTo);
}

bool XmlScanner::attribute(std::string_view wanted, QByteArray *value) const
{
    const char *tag = buffer.constData() + tagOffset;
    for (const Attribute &attribute : attributes) {
        if (std::string_view(tag + attribute.localNameStart, size_t(attribute.localNameLength))
            == wanted) {
            value->resize(0);
            const char *data = tag + attribute.valueStart;
            if (attribute.plain) {
                value->append(data, attribute.valueLength);
                return true;
            }
            // Cannot fail: readStartTag() has checked every value.
            QString problem;
            decode(data, attribute.valueLength, true, value, &problem);
            return true;
        }
    }
    return false;
}

XmlScanner::Token XmlScanner::next()
{
    if (hasError())
        return Invalid;
    if (!started && !readByteOrderMark())
        return Invalid;
    if (pendingEnd) {
        pendingEnd = false;
        closeElement();
        return current = EndElement;
    }
    for (;;) {
        if (!require(1))
            return endOfPart();
        if (peek(0) != '<') {
            if (!openStarts.empty())
                return readText();
            if (!skipBlanksOutsideRoot())
                return Invalid;
        } else if (!require(2)) {
            return fail(QStringLiteral("the part ends inside a tag"));
        } else if (peek(1) == '/') {
            return readEndTag();
        } else if (peek(1) == '?') {
            if (!skipInstruction())
                return Invalid;
        } else if (peek(1) != '!') {
            return readStartTag();
        } else if (lookingAt("<![CDATA[")) {
            return readCData();
        } else if (!skipComment()) {
            return Invalid;
        }
    }
}

// Takes a UTF-8 byte order mark at the start of the part; UTF-16 is refused.
bool XmlScanner::readByteOrderMark()
{
    started = true;
    if (!require(2))
        return !hasError();
    const uchar first = uchar(peek(0));
    const uchar second = uchar(peek(1));
    if ((first == 0xFE && second == 0xFF) || (first == 0xFF && second == 0xFE)) {
        fail(QStringLiteral("the part is UTF-16; only UTF-8 parts are read"));
        return false;
    }
    if (lookingAt("\xEF\xBB\xBF"))
        start += 3;
    return !hasError();
}

XmlScanner::Token XmlScanner::endOfPart()
{
    if (hasError())
        return Invalid;
    if (!rootSeen || !openStarts.empty())
        return fail(QStringLiteral("the part ends before its XML is complete"));
    return current = EndDocument;
}

bool XmlScanner::skipBlanksOutsideRoot()
{
    const std::optional<qint64> before = find("<", 0);
    if (hasError())
        return false;
    const qint64 length = before.value_or(end - start);
    const char *data = buffer.constData() + start;
    if (!std::all_of(data, data + length, isSpace)) {
        fail(QStringLiteral("text outside the root element"));
        return false;
    }
    start += length;
    return true;
}

XmlScanner::Token XmlScanner::readText()
{
    // Text that runs to the end of the part is read; the end then fails.
    const std::optional<qint64> before = find("<", 0);
    if (hasError())
        return Invalid;
    const qint64 length = before.value_or(end - start);
    const char *data = buffer.constData() + start;
    if (!isUtf8(data, length))
        return fail(QStringLiteral("text that is not UTF-8"));
    characters.resize(0);
    QString problem;
    if (!decode(data, int(length), false, &characters, &problem))
        return fail(problem);
    start += length;
    return current = Characters;
}

// "<?...?>"; the XML declaration's encoding must be UTF-8.
bool XmlScanner::skipInstruction()
{
    const std::optional<qint64> close = findClosing("?>", 2, "unterminated instruction");
    if (!close)
        return false;
    const QByteArray instruction(buffer.constData() + start + 2, int(*close - 2));
    start += *close + 2;
    if (instruction.size() < 4 || !instruction.startsWith("xml") || !isSpace(instruction.at(3)))
        return true;
    const int at = instruction.indexOf("encoding");
    if (at < 0)
        return true;
    int quote = instruction.indexOf('=', at) + 1;
    while (quote < instruction.size() && isSpace(instruction.at(quote)))
        ++quote;
    const int closing
        = quote < instruction.size() ? instruction.indexOf(instruction.at(quote), quote + 1) : -1;
    const QByteArray encoding
        = closing > quote ? instruction.mid(quote + 1, closing - quote - 1) : QByteArray();
    if (encoding.toLower() == "utf-8")
        return true;
    fail(QStringLiteral("the part is encoded as \"%1\"; only UTF-8 parts are read")
             .arg(QString::fromLatin1(encoding)));
    return false;
}

bool XmlScanner::skipComment()
{
    if (!lookingAt("<!--")) {
        fail(QStringLiteral("document type declarations and other markup are not read"));
        return false;
    }
    const std::optional<qint64> close = findClosing("-->", 4, "unterminated comment");
    if (!close)
        return false;
    start += *close + 3;
    return true;
}

// "<![CDATA[...]]>": text without references; line ends are normalised all
// the same.
XmlScanner::Token XmlScanner::readCData()
{
    if (openStarts.empty())
        return fail(QStringLiteral("text outside the root element"));
    const std::optional<qint64> close = findClosing("]]>", 9, "unterminated CDATA section");
    if (!close)
        return Invalid;
    const char *data = buffer.constData() + start + 9;
    const int length = int(*close - 9);
    if (!isUtf8(data, length))
        return fail(QStringLiteral("text that is not UTF-8"));
    characters.resize(0);
    characters.reserve(length);
    appendNormalised(data, length, false, &characters);
    start += *close + 3;
    return current = Characters;
}

// Moves *offset past the bytes of the tag that `skipped` takes; false when
// the part ends first or on an error.
template<typename Skipped> bool XmlScanner::skipInTag(qint64 *offset, Skipped skipped)
{
    for (;;) {
        const char *data = buffer.constData() + start;
        const qint64 available = end - start;
        qint64 i = *offset;
        while (i < available && skipped(data[i]))
            ++i;
        *offset = i;
        if (i < available)
            return true;
        if (!require(i + 1)) {
            fail(QStringLiteral("the part ends inside a tag"));
            return false;
        }
    }
}

// Offsets within a tag are from `start`, which stays put while the tag is read.
XmlScanner::Token XmlScanner::readStartTag()
{
    qint64 i = 1;
    qint64 localStart = 0;
    if (!readName(&i, &localStart, "a tag"))
        return Invalid;
    const qint64 qualifiedLength = i - 1;
    attributes.clear();
    bool empty = false;
    for (;;) {
        if (!skipInTag(&i, isSpace))
            return Invalid;
        if (peek(i) == '>') {
            ++i;
            break;
        }
        if (peek(i) == '/') {
            if (!require(i + 2))
                return fail(QStringLiteral("the part ends inside a tag"));
            if (peek(i + 1) != '>')
                return fail(QStringLiteral("a malformed tag"));
            i += 2;
            empty = true;
            break;
        }
        if (!readAttribute(&i))
            return Invalid;
    }
    if (!checkAttributeValues() || !openElement(qualifiedLength, localStart))
        return Invalid;
    start += i;
    pendingEnd = empty;
    return current = StartElement;
}

// Moves *offset past the name of an element or attribute (`what` names it in
// errors), which must be followed by a blank or by the end of the tag, or
// "=" after an attribute; *localStart is where its local part starts.
bool XmlScanner::readName(qint64 *offset, qint64 *localStart, const char *what)
{
    const qint64 first = *offset;
    if (!skipInTag(offset, isNameByte))
        return false;
    const char *name = buffer.constData() + start + first;
    const qint64 length = *offset - first;
    bool ascii = true;
    *localStart = first;
    for (qint64 i = length - 1; i >= 0; --i) {
        ascii = ascii && uchar(name[i]) < 0x80;
        if (name[i] == ':')
            *localStart = first + i + 1;
    }
    const char after = peek(*offset);
    const bool ended = isSpace(after) || after == '>' || after == '/' || after == '=';
    if (length > 0 && isNameStartByte(name[0]) && ended && (ascii || isUtf8(name, length)))
        return true;
    fail(QStringLiteral("%1 with a name XML does not allow").arg(QLatin1String(what)));
    return false;
}

// name="value" or name='value', followed by a blank or the end of the tag.
bool XmlScanner::readAttribute(qint64 *offset)
{
    qint64 i = *offset;
    qint64 localStart = 0;
    if (!readName(&i, &localStart, "an attribute"))
        return false;
    const qint64 nameEnd = i;
    if (!skipInTag(&i, isSpace))
        return false;
    if (peek(i) != '=') {
        fail(QStringLiteral("an attribute without a value"));
        return false;
    }
    ++i;
    if (!skipInTag(&i, isSpace))
        return false;
    Attribute attribute {int(localStart), int(nameEnd - localStart), 0, 0, true};
    if (!readAttributeValue(&i, &attribute))
        return false;
    attributes.push_back(attribute);
    *offset = i;
    if (!require(i + 1)) {
        fail(QStringLiteral("the part ends inside a tag"));
        return false;
    }
    const char after = peek(i);
    if (isSpace(after) || after == '>' || after == '/')
        return true;
    fail(QStringLiteral("attributes without blanks between them"));
    return false;
}

// From the opening quote at *offset: the value up to the closing quote, which
// may not hold "<" and must be UTF-8; *offset moves past the closing quote.
bool XmlScanner::readAttributeValue(qint64 *offset, Attribute *attribute)
{
    const char quote = peek(*offset);
    if (quote != '"' && quote != '\'') {
        fail(QStringLiteral("an attribute value without quotes"));
        return false;
    }
    const qint64 first = *offset + 1;
    bool ascii = true;
    // Read while scanning for the closing quote: values are short.
    const auto inValue = [&](char c) {
        if (c == quote || c == '<')
            return false;
        attribute->plain = attribute->plain && c != '&' && c != '\r' && c != '\n' && c != '\t';
        ascii = ascii && uchar(c) < 0x80;
        return true;
    };
    qint64 close = first;
    if (!skipInTag(&close, inValue))
        return false;
    if (peek(close) == '<') {
        fail(QStringLiteral("\"<\" in an attribute value"));
        return false;
    }
    attribute->valueStart = int(first);
    attribute->valueLength = int(close - first);
    if (!ascii && !isUtf8(buffer.constData() + start + first, close - first)) {
        fail(QStringLiteral("an attribute value that is not UTF-8"));
        return false;
    }
    *offset = close + 1;
    return true;
}

// Checks the references in the attribute values now, so that attribute()
// cannot fail.
bool XmlScanner::checkAttributeValues()
{
    for (const Attribute &attribute : attributes) {
        if (attribute.plain)
            continue;
        QByteArray decoded;
        QString problem;
        if (!decode(buffer.constData() + start + attribute.valueStart, attribute.valueLength, true,
                &decoded, &problem)) {
            fail(problem);
            return false;
        }
    }
    return true;
}

// Makes the tag read from `start` the current start element; its local name
// starts at localStart.
bool XmlScanner::openElement(qint64 qualifiedLength, qint64 localStart)
{
    if (rootSeen && openStarts.empty()) {
        fail(QStringLiteral("more than one root element"));
        return false;
    }
    if (openStarts.size() >= size_t(MaxDepth)) {
        fail(QStringLiteral("elements nested deeper than %1").arg(MaxDepth));
        return false;
    }
    rootSeen = true;
    tagOffset = start;
    const char *qualified = buffer.constData() + start + 1;
    openStarts.push_back(openNames.size());
    openNames.append(qualified, size_t(qualifiedLength));
    nameStart = buffer.constData() + start + localStart;
    nameLength = int(qualifiedLength + 1 - localStart);
    return true;
}

XmlScanner::Token XmlScanner::readEndTag()
{
    if (openStarts.empty())
        return fail(QStringLiteral("an end tag without its start tag"));
    const std::string_view open = std::string_view(openNames).substr(openStarts.back());
    // The end tag must be the open element's name, blanks and ">".
    qint64 i = 2 + qint64(open.size());
    if (require(i) && std::memcmp(buffer.constData() + start + 2, open.data(), open.size()) == 0
        && skipInTag(&i, isSpace) && peek(i) == '>') {
        const std::string_view local = localName(open);
        nameStart = buffer.constData() + start + 2 + (local.data() - open.data());
        nameLength = int(local.size());
        closeElement();
        start += i + 1;
        return current = EndElement;
    }
    const std::optional<qint64> close = findClosing(">", 2, "the part ends inside a tag");
    if (!close)
        return Invalid;
    std::string_view qualified(buffer.constData() + start + 2, size_t(*close - 2));
    while (!qualified.empty() && isSpace(qualified.back()))
        qualified.remove_suffix(1);
    return fail(QStringLiteral("end tag </%1> does not match <%2>")
                    .arg(QString::fromUtf8(qualified.data(), int(qualified.size())),
                        QString::fromUtf8(open.data(), int(open.size()))));
}

void XmlScanner::closeElement()
{
    openNames.resize(openStarts.back());
    openStarts.pop_back();
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
