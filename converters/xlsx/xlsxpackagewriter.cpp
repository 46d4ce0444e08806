#include "xlsxpackagewriter.h"

#include "xlsxcellrange.h"
#include "xlsxcelltext.h"

#include <QLocale>
#include <QXmlStreamWriter>

namespace QXlsx {

namespace {
const QString mainNamespace
    = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString relationshipsNamespace
    = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString packageRelationshipsNamespace
    = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString contentTypesNamespace
    = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
const QString spreadsheetType
    = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.");

const char declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

QString sheetPartName(int index)
{
    return QStringLiteral("worksheets/sheet%1.xml").arg(index + 1);
}

// A part's XML writer with the declaration every part starts with. It writes
// into a string, far quicker than the many small writes to a byte device.
class PartWriter
{
public:
    PartWriter()
        : text(QString::fromLatin1(declaration))
        , xml(&text)
    { }
    QXmlStreamWriter &operator*() { return xml; }
    QXmlStreamWriter *operator->() { return &xml; }
    QByteArray finish()
    {
        xml.writeEndDocument();
        return text.toUtf8();
    }

private:
    QString text;
    QXmlStreamWriter xml;
};

void writeRelationship(
    QXmlStreamWriter &xml, const QString &id, const QString &type, const QString &target)
{
    xml.writeStartElement(QStringLiteral("Relationship"));
    xml.writeAttribute(QStringLiteral("Id"), id);
    xml.writeAttribute(QStringLiteral("Type"), relationshipsNamespace + QLatin1Char('/') + type);
    xml.writeAttribute(QStringLiteral("Target"), target);
    xml.writeEndElement();
}
} // namespace

PackageWriter::PackageWriter(QIODevice *device, Strings strings)
    : zip(device)
    , strings(strings)
{ }

PackageWriter::~PackageWriter() = default;

bool PackageWriter::begin(const QStringList &names)
{
    sheetNames = names;
    return zip.open() && zip.addFile(QStringLiteral("[Content_Types].xml"), contentTypes())
        && zip.addFile(QStringLiteral("_rels/.rels"), rootRelationships())
        && zip.addFile(QStringLiteral("xl/workbook.xml"), workbook())
        && zip.addFile(QStringLiteral("xl/_rels/workbook.xml.rels"), workbookRelationships())
        && zip.addFile(QStringLiteral("xl/styles.xml"), styles());
}

bool PackageWriter::beginSheet(const CellRange &dimension)
{
    if (!zip.beginEntry(QStringLiteral("xl/") + sheetPartName(sheetsBegun), SheetCompression))
        return false;
    out.resize(0);
    out.append(declaration);
    out.append("<worksheet xmlns=\"");
    out.append(mainNamespace.toUtf8());
    out.append("\" xmlns:r=\"");
    out.append(relationshipsNamespace.toUtf8());
    out.append("\"><dimension ref=\"");
    out.append(dimension.isValid() ? dimension.toString().toLatin1() : QByteArray("A1"));
    out.append("\"/><sheetViews><sheetView ");
    if (sheetsBegun == 0)
        out.append("tabSelected=\"1\" ");
    out.append("workbookViewId=\"0\"/></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>");
    ++sheetsBegun;
    rowsWritten = false;
    return true;
}

void PackageWriter::beginRow(int row)
{
    if (!rowsWritten)
        out.append("<sheetData>");
    rowsWritten = true;
    rowNumber = QByteArray::number(row);
    out.append("<row r=\"");
    out.append(rowNumber);
    out.append("\">");
}

void PackageWriter::startCell(int column, const char *type)
{
    char letters[4];
    int count = 0;
    for (int c = column; c > 0 && count < 4; c = (c - 1) / 26)
        letters[count++] = char('A' + (c - 1) % 26);
    out.append("<c r=\"");
    while (count > 0)
        out.append(letters[--count]);
    out.append(rowNumber);
    if (type) {
        out.append("\" t=\"");
        out.append(type);
    }
    out.append("\">");
}

void PackageWriter::writeText(int column, const QString &text)
{
    if (strings == Strings::Inline && !CellText::needsEscape(text)) {
        startCell(column, "inlineStr");
        out.append("<is>");
        CellText::appendTextElement(&out, text);
        out.append("</is></c>");
    } else {
        startCell(column, "s");
        out.append("<v>");
        out.append(QByteArray::number(sharedStringIndex(text)));
        out.append("</v></c>");
    }
}

void PackageWriter::writeNumber(int column, double number)
{
    startCell(column, nullptr);
    out.append("<v>");
    out.append(QString::number(number, 'g', QLocale::FloatingPointShortest).toLatin1());
    out.append("</v></c>");
}

void PackageWriter::writeBoolean(int column, bool value)
{
    startCell(column, "b");
    out.append(value ? "<v>1</v></c>" : "<v>0</v></c>");
}

bool PackageWriter::endRow()
{
    out.append("</row>");
    return out.size() < FlushSize || flush();
}

bool PackageWriter::flush()
{
    const bool ok = zip.write(out.constData(), out.size());
    out.resize(0);
    return ok;
}

bool PackageWriter::endSheet()
{
    out.append(rowsWritten ? "</sheetData></worksheet>" : "<sheetData/></worksheet>");
    return flush() && zip.endEntry();
}

bool PackageWriter::finish()
{
    const bool ok = zip.addFile(QStringLiteral("xl/sharedStrings.xml"), sharedStrings());
    return zip.close() && ok;
}

QByteArray PackageWriter::contentTypes() const
{
    PartWriter xml;
    xml->writeStartElement(QStringLiteral("Types"));
    xml->writeDefaultNamespace(contentTypesNamespace);
    const auto writeDefault = [&xml](const QString &extension, const QString &type) {
        xml->writeStartElement(QStringLiteral("Default"));
        xml->writeAttribute(QStringLiteral("Extension"), extension);
        xml->writeAttribute(QStringLiteral("ContentType"), type);
        xml->writeEndElement();
    };
    const auto writeOverride = [&xml](const QString &part, const QString &type) {
        xml->writeStartElement(QStringLiteral("Override"));
        xml->writeAttribute(QStringLiteral("PartName"), part);
        xml->writeAttribute(QStringLiteral("ContentType"), spreadsheetType + type);
        xml->writeEndElement();
    };
    writeDefault(QStringLiteral("rels"),
        QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
    writeDefault(QStringLiteral("xml"), QStringLiteral("application/xml"));
    writeOverride(QStringLiteral("/xl/workbook.xml"), QStringLiteral("sheet.main+xml"));
    for (int i = 0; i < sheetNames.size(); ++i)
        writeOverride(QStringLiteral("/xl/") + sheetPartName(i), QStringLiteral("worksheet+xml"));
    writeOverride(QStringLiteral("/xl/styles.xml"), QStringLiteral("styles+xml"));
    writeOverride(QStringLiteral("/xl/sharedStrings.xml"), QStringLiteral("sharedStrings+xml"));
    xml->writeEndElement();
    return xml.finish();
}

QByteArray PackageWriter::rootRelationships() const
{
    PartWriter xml;
    xml->writeStartElement(QStringLiteral("Relationships"));
    xml->writeDefaultNamespace(packageRelationshipsNamespace);
    writeRelationship(*xml, QStringLiteral("rId1"), QStringLiteral("officeDocument"),
        QStringLiteral("xl/workbook.xml"));
    xml->writeEndElement();
    return xml.finish();
}

QByteArray PackageWriter::workbook() const
{
    PartWriter xml;
    xml->writeStartElement(QStringLiteral("workbook"));
    xml->writeDefaultNamespace(mainNamespace);
    xml->writeNamespace(relationshipsNamespace, QStringLiteral("r"));
    xml->writeStartElement(QStringLiteral("bookViews"));
    xml->writeEmptyElement(QStringLiteral("workbookView"));
    xml->writeEndElement();
    xml->writeStartElement(QStringLiteral("sheets"));
    for (int i = 0; i < sheetNames.size(); ++i) {
        xml->writeEmptyElement(QStringLiteral("sheet"));
        xml->writeAttribute(QStringLiteral("name"), sheetNames.at(i));
        xml->writeAttribute(QStringLiteral("sheetId"), QString::number(i + 1));
        xml->writeAttribute(
            relationshipsNamespace, QStringLiteral("id"), QStringLiteral("rId%1").arg(i + 1));
    }
    xml->writeEndElement();
    xml->writeEndElement();
    return xml.finish();
}

QByteArray PackageWriter::workbookRelationships() const
{
    PartWriter xml;
    xml->writeStartElement(QStringLiteral("Relationships"));
    xml->writeDefaultNamespace(packageRelationshipsNamespace);
    for (int i = 0; i < sheetNames.size(); ++i) {
        writeRelationship(*xml, QStringLiteral("rId%1").arg(i + 1), QStringLiteral("worksheet"),
            sheetPartName(i));
    }
    writeRelationship(*xml, QStringLiteral("rId%1").arg(sheetNames.size() + 1),
        QStringLiteral("styles"), QStringLiteral("styles.xml"));
    writeRelationship(*xml, QStringLiteral("rId%1").arg(sheetNames.size() + 2),
        QStringLiteral("sharedStrings"), QStringLiteral("sharedStrings.xml"));
    xml->writeEndElement();
    return xml.finish();
}

// The smallest style sheet that spreadsheet programs accept: one font, the two
// fills they reserve, one border and the "Normal" style as cell format 0.
QByteArray PackageWriter::styles() const
{
    PartWriter xml;
    const auto start = [&xml](const QString &name, int count) {
        xml->writeStartElement(name);
        xml->writeAttribute(QStringLiteral("count"), QString::number(count));
    };
    const auto attribute
        = [&xml](const QString &name, const QString &value) { xml->writeAttribute(name, value); };
    xml->writeStartElement(QStringLiteral("styleSheet"));
    xml->writeDefaultNamespace(mainNamespace);
    start(QStringLiteral("fonts"), 1);
    xml->writeStartElement(QStringLiteral("font"));
    xml->writeEmptyElement(QStringLiteral("sz"));
    attribute(QStringLiteral("val"), QStringLiteral("11"));
    xml->writeEmptyElement(QStringLiteral("name"));
    attribute(QStringLiteral("val"), QStringLiteral("Calibri"));
    xml->writeEmptyElement(QStringLiteral("family"));
    attribute(QStringLiteral("val"), QStringLiteral("2"));
    xml->writeEndElement();
    xml->writeEndElement();
    start(QStringLiteral("fills"), 2);
    for (const QString &pattern : {QStringLiteral("none"), QStringLiteral("gray125")}) {
        xml->writeStartElement(QStringLiteral("fill"));
        xml->writeEmptyElement(QStringLiteral("patternFill"));
        attribute(QStringLiteral("patternType"), pattern);
        xml->writeEndElement();
    }
    xml->writeEndElement();
    start(QStringLiteral("borders"), 1);
    xml->writeStartElement(QStringLiteral("border"));
    for (const QString &side : {QStringLiteral("left"), QStringLiteral("right"),
             QStringLiteral("top"), QStringLiteral("bottom"), QStringLiteral("diagonal")})
        xml->writeEmptyElement(side);
    xml->writeEndElement();
    xml->writeEndElement();
    const auto writeXf = [&xml, &attribute](bool inCellFormats) {
        xml->writeEmptyElement(QStringLiteral("xf"));
        attribute(QStringLiteral("numFmtId"), QStringLiteral("0"));
        attribute(QStringLiteral("fontId"), QStringLiteral("0"));
        attribute(QStringLiteral("fillId"), QStringLiteral("0"));
        attribute(QStringLiteral("borderId"), QStringLiteral("0"));
        if (inCellFormats)
            attribute(QStringLiteral("xfId"), QStringLiteral("0"));
    };
    start(QStringLiteral("cellStyleXfs"), 1);
    writeXf(false);
    xml->writeEndElement();
    start(QStringLiteral("cellXfs"), 1);
    writeXf(true);
    xml->writeEndElement();
    start(QStringLiteral("cellStyles"), 1);
    xml->writeEmptyElement(QStringLiteral("cellStyle"));
    attribute(QStringLiteral("name"), QStringLiteral("Normal"));
    attribute(QStringLiteral("xfId"), QStringLiteral("0"));
    attribute(QStringLiteral("builtinId"), QStringLiteral("0"));
    xml->writeEndElement();
    xml->writeEndElement();
    return xml.finish();
}

int PackageWriter::sharedStringIndex(const QString &text)
{
    ++stringCells;
    const auto found = stringIndexes.constFind(text);
    if (found != stringIndexes.constEnd())
        return found.value();
    const int index = stringList.size();
    stringList.append(text);
    stringIndexes.insert(text, index);
    return index;
}

QByteArray PackageWriter::sharedStrings() const
{
    QByteArray xml(declaration);
    xml.append("<sst xmlns=\"" + mainNamespace.toUtf8() + "\" count=\"");
    xml.append(QByteArray::number(stringCells) + "\" uniqueCount=\"");
    xml.append(QByteArray::number(stringList.size()) + "\">");
    for (const QString &text : stringList) {
        xml.append("<si>");
        CellText::appendTextElement(&xml, text);
        xml.append("</si>");
    }
    xml.append("</sst>");
    return xml;
}

} // namespace QXlsx
