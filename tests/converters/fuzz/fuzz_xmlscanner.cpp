// libFuzzer target: the XML scanner and the shared string table over any
// bytes. The first byte sets the size of the pieces the source hands out,
// the second the token bound; the rest is the part.

#include "xlsxsharedstrings.h"
#include "xlsxxmlscanner.h"

#include <cstring>
#include <memory>

using QXlsx::XmlScanner;

namespace {

std::unique_ptr<XmlScanner> scanner(const uint8_t *data, size_t size, qint64 piece, int maxToken)
{
    auto read = std::make_shared<size_t>(0);
    return std::make_unique<XmlScanner>(
        [data, size, read, piece](char *buffer, qint64 wanted) {
            const size_t count = std::min({size - *read, size_t(wanted), size_t(piece)});
            std::memcpy(buffer, data + *read, count);
            *read += count;
            return qint64(count);
        },
        [] { return QStringLiteral("read error"); }, maxToken);
}

// Walks the part the way the sheet readers do: names and attributes looked
// up on every start element, some elements skipped, some read as text.
void walk(XmlScanner &xml)
{
    QByteArray value;
    for (int step = 0;; ++step) {
        switch (xml.next()) {
        case XmlScanner::StartElement:
            for (const char *wanted : {"si", "row", "c", "t", "r", "v", "is", "worksheet"})
                value.append(char(xml.isName(wanted)));
            xml.attribute("r", &value);
            xml.attribute("t", &value);
            if (xml.isName("v") && !xml.appendElementText(&value))
                return;
            if (step % 7 == 3 && !xml.skipElement())
                return;
            break;
        case XmlScanner::EndElement:
        case XmlScanner::Characters:
            value.append(xml.text());
            value.resize(std::min(value.size(), 4096));
            break;
        default:
            xml.lineNumber();
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qint64 piece = 1 + data[0] % 64;
    const int maxToken = data[1] & 1 ? XmlScanner::DefaultMaxToken : 16 + data[1];
    data += 2;
    size -= 2;
    walk(*scanner(data, size, piece, maxToken));
    QXlsx::SharedStrings strings;
    if (strings.read(*scanner(data, size, piece, maxToken))) {
        for (int i = 0; i < strings.size(); ++i)
            strings.text(i);
    }
    return 0;
}
