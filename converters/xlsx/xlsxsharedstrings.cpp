#include "xlsxsharedstrings.h"

#include "xlsxcelltext.h"
#include "xlsxxmlscanner.h"

namespace QXlsx {

bool readRichText(XmlScanner &xml, QByteArray *text)
{
    for (;;) {
        switch (xml.next()) {
        case XmlScanner::StartElement:
            if (xml.isName("t")) {
                if (!xml.appendElementText(text))
                    return false;
            } else if (xml.isName("r")) {
                if (!readRichText(xml, text))
                    return false;
            } else if (!xml.skipElement()) {
                return false;
            }
            break;
        case XmlScanner::Characters:
            break;
        case XmlScanner::EndElement:
            return true;
        default:
            return false;
        }
    }
}

bool SharedStrings::read(XmlScanner &xml)
{
    if (xml.next() != XmlScanner::StartElement) {
        error = xml.errorString();
        return false;
    }
    for (;;) {
        switch (xml.next()) {
        case XmlScanner::StartElement:
            if (xml.isName("si")) {
                if (!readRichText(xml, &texts)) {
                    error = xml.errorString();
                    return false;
                }
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

QString SharedStrings::text(int index) const
{
    const qint64 begin = index == 0 ? 0 : ends[size_t(index - 1)];
    return CellText::unescape(
        QString::fromUtf8(texts.constData() + begin, int(ends[size_t(index)] - begin)));
}

} // namespace QXlsx
