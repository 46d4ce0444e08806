#include "xlsxsharedstrings.h"

#include "xlsxcelltext.h"
#include "xlsxxmlscanner.h"

namespace QXlsx {

bool readRichText(XmlScanner &xml, QByteArray *text)
{
    return xml.readChildren([&] {
        if (xml.isName("t"))
            return xml.appendElementText(text);
        if (xml.isName("r"))
            return readRichText(xml, text);
        return xml.skipElement();
    });
}

bool SharedStrings::read(XmlScanner &xml)
{
    if (xml.next() != XmlScanner::StartElement) {
        error = xml.errorString();
        return false;
    }
    // Each string is bounded on its own as it is read, the table as a whole
    // by MaxTextBytes.
    QByteArray item;
    for (;;) {
        switch (xml.next()) {
        case XmlScanner::StartElement:
            if (xml.isName("si")) {
                item.resize(0);
                if (!readRichText(xml, &item)) {
                    error = xml.errorString();
                    return false;
                }
                CellText::appendUnescaped(&texts, item);
                if (texts.size() > MaxTextBytes) {
                    error = QStringLiteral("the shared strings hold more than %1 MiB of text")
                                .arg(MaxTextBytes / 1024 / 1024);
                    return false;
                }
                ends.push_back(texts.size());
            } else if (!xml.skipElement()) {
                error = xml.errorString();
                return false;
            }
            break;
        case XmlScanner::Characters:
            break;
        case XmlScanner::EndElement:
            if (xml.next() == XmlScanner::EndDocument)
                return true;
            error = xml.errorString();
            return false;
        default:
            error = xml.errorString();
            return false;
        }
    }
}

QByteArray SharedStrings::text(int index) const
{
    const qint64 begin = index == 0 ? 0 : ends[size_t(index - 1)];
    return QByteArray(texts.constData() + begin, int(ends[size_t(index)] - begin));
}

} // namespace QXlsx
