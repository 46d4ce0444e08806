#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace QXlsx {

class XmlScanner;

// The shared string table of a workbook, kept compactly as UTF-8 (escapes
// undone as it is read) with one offset per string. Its size is bounded: a table holding more than
// MaxTextBytes of text is refused rather than allowed to exhaust memory.
class SharedStrings
{
public:
    static constexpr qint64 MaxTextBytes = Q_INT64_C(512) * 1024 * 1024;

    // Reads the <sst> part from a scanner positioned before its root.
    bool read(XmlScanner &xml);
    int size() const { return int(ends.size()); }
    // The text of string index (0 <= index < size()) as UTF-8, its "_xHHHH_"
    // escapes undone.
    QByteArray text(int index) const;
    QString errorString() const { return error; }

private:
    QByteArray texts;
    std::vector<qint64> ends;
    QString error;
};

// From the start element of a shared string item or an inline string: the
// raw text of plain <t> or of the <t> of every rich-text run <r>, phonetic
// runs (<rPh>) and run properties left out, appended to *text (bounded like
// any XML token). The scanner ends on the item's end element.
bool readRichText(XmlScanner &xml, QByteArray *text);

} // namespace QXlsx
