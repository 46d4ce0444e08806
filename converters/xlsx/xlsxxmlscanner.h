#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace QXlsx {

// A pull reader for the large parts of a package (worksheets, shared
// strings), fed chunk by chunk from a byte source so that memory stays
// bounded whatever the size of the part.
//
// It reads well-formed UTF-8 XML 1.0 without a document type declaration:
// elements (matched by their local name, prefixes dropped), attributes,
// character data with the five predefined entities and character
// references, CDATA sections, comments and processing instructions (both
// skipped). Line ends are normalised as XML prescribes. Any single token (a
// tag, a run of text, a comment) longer than maxToken bytes, nesting deeper
// than maxDepth, bytes that are not UTF-8 or anything not well-formed is an
// error. Names and texts handed out stay valid until the next call of next().
class XmlScanner
{
public:
    // Fills buffer with up to size bytes; returns the count, 0 at the end of
    // the part or -1 with errorString() set on a read error.
    using Source = std::function<qint64(char *buffer, qint64 size)>;
    enum Token { StartElement, EndElement, Characters, EndDocument, Invalid };

    static constexpr int DefaultMaxToken = 16 * 1024 * 1024;
    static constexpr int MaxDepth = 256;

    XmlScanner(Source source, std::function<QString()> sourceError, int maxToken = DefaultMaxToken);

    Token next();
    Token token() const { return current; }

    // Local name of the current start or end element.
    bool isName(std::string_view localName) const
    {
        return std::string_view(nameStart, size_t(nameLength)) == localName;
    }
    QByteArray name() const { return QByteArray(nameStart, nameLength); }
    // The decoded value of an attribute of the current start element, looked
    // up by its local name; false when absent.
    bool attribute(std::string_view localName, QByteArray *value) const;
    // Text of the current Characters token, decoded, as UTF-8.
    const QByteArray &text() const { return characters; }

    // From a start element: reads up to its end element, calling child() on
    // each child start element (it must read the child up to its end) and
    // passing over text between them. False on an error or when child() is.
    template<typename Child> bool readChildren(Child child);
    // From a start element: skips to its end element.
    bool skipElement();
    // From a start element: the text up to its end element, appended to
    // *text; a child element is an error. *text may grow to maxToken bytes.
    bool appendElementText(QByteArray *text);

    bool hasError() const { return !error.isEmpty(); }
    QString errorString() const { return error; }
    qint64 lineNumber() const;

    // Checks that bytes are UTF-8 (no overlong forms, no surrogates).
    static bool isUtf8(const char *data, qint64 size);

private:
    struct Attribute
    {
        int localNameStart; // offsets into the buffer, from the start of the tag
        int localNameLength;
        int valueStart;
        int valueLength;
        bool plain; // taken as it is: no reference, no line end, no tab
    };

    bool fill();
    bool require(qint64 bytes);
    char peek(qint64 offset) const { return buffer.at(int(start + offset)); }
    bool lookingAt(std::string_view text);
    std::optional<qint64> find(std::string_view pattern, qint64 from);
    std::optional<qint64> findClosing(
        std::string_view pattern, qint64 from, const char *unterminated);
    Token fail(const QString &message);

    bool readByteOrderMark();
    Token endOfPart();
    bool skipBlanksOutsideRoot();
    Token readText();
    bool skipInstruction();
    bool skipComment();
    Token readCData();

    Token readStartTag();
    template<typename Skipped> bool skipInTag(qint64 *offset, Skipped skipped);
    bool readName(qint64 *offset, qint64 *localStart, const char *what);
    bool readAttribute(qint64 *offset);
    bool readAttributeValue(qint64 *offset, Attribute *attribute);
    bool checkAttributeValues();
    bool openElement(qint64 qualifiedLength, qint64 localStart);
    Token readEndTag();
    void closeElement();

    void countLines(qint64 end);

    Source source;
    std::function<QString()> sourceError;
    const int maxToken;
    QByteArray buffer;
    qint64 start = 0; // first unread byte
    qint64 end = 0; // end of the bytes read so far
    bool atEnd = false;
    bool started = false;
    bool rootSeen = false;
    Token current = Invalid;
    bool pendingEnd = false; // an empty-element tag still owes its end
    const char *nameStart = nullptr;
    int nameLength = 0;
    qint64 tagOffset = 0;
    std::vector<Attribute> attributes;
    QByteArray characters;
    std::string openNames; // qualified names of the open elements, one after the other
    std::vector<size_t> openStarts;
    qint64 lines = 1;
    qint64 linesCountedTo = 0;
    QString error;
};

template<typename Child> bool XmlScanner::readChildren(Child child)
{
    for (;;) {
        switch (next()) {
        case StartElement:
            if (!child())
                return false;
            break;
        case Characters:
            break;
        case EndElement:
            return true;
        default:
            return false;
        }
    }
}

} // namespace QXlsx
