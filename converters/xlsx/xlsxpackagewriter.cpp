#include "xlsxpackagewriter.h"

#include "xlsxcelltext.h"
#include "xlsxworksheet.h"
#include "xlsxzipwriter.h"

#include <QBuffer>
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
        : text(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"))
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

PackageWriter::PackageWriter(const QVector<const Worksheet *> &sheets)
    : sheets(sheets)
{ }

bool PackageWriter::write(QByteArray *archive)
{
    // Worksheets first: they fill the shared string table.
    QVector<QByteArray> sheetParts;
    for (const Worksheet *sheet : qAsConst(sheets))
        sheetParts.append(worksheet(*sheet));

    QBuffer buffer(archive);
    ZipWriter zip(&buffer);
    bool ok = zip.open() && zip.addFile(QStringLiteral("[Content_Types].xml"), contentTypes())
        && zip.addFile(QStringLiteral("_rels/.rels"), rootRelationships())
        && zip.addFile(QStringLiteral("xl/workbook.xml"), workbook())
        && zip.addFile(QStringLiteral("xl/_rels/workbook.xml.rels"), workbookRelationships())
        && zip.addFile(QStringLiteral("xl/styles.xml"), styles());
    for (int i = 0; ok && i < sheetParts.size(); ++i)
        ok = zip.addFile(QStringLiteral("xl/") + sheetPartName(i), sheetParts.at(i));
    ok = ok && zip.addFile(QStringLiteral("xl/sharedStrings.xml"), sharedStrings());
    ok = zip.close() && ok;
    if (!ok)
        error = zip.errorString();
    return ok;
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
    for (int i = 0; i < sheets.size(); ++i)
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
    for (int i = 0; i < sheets.size(); ++i) {
        xml->writeEmptyElement(QStringLiteral("sheet"));
        xml->writeAttribute(QStringLiteral("name"), sheets.at(i)->sheetName());
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
    for (int i = 0; i < sheets.size(); ++i) {
        writeRelationship(*xml, QStringLiteral("rId%1").arg(i + 1), QStringLiteral("worksheet"),
            sheetPartName(i));
    }
    writeRelationship(*xml, QStringLiteral("rId%1").arg(sheets.size() + 1),
        QStringLiteral("styles"), QStringLiteral("styles.xml"));
    writeRelationship(*xml, QStringLiteral("rId%1").arg(sheets.size() + 2),
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

QByteArray PackageWriter::worksheet(const Worksheet &sheet)
{
    PartWriter xml;
    xml->writeStartElement(QStringLiteral("worksheet"));
    xml->writeDefaultNamespace(mainNamespace);
    xml->writeNamespace(relationshipsNamespace, QStringLiteral("r"));
    const CellRange used = sheet.dimension();
    xml->writeEmptyElement(QStringLiteral("dimension"));
    xml->writeAttribute(
        QStringLiteral("ref"), used.isValid() ? used.toString() : QStringLiteral("A1"));
    xml->writeStartElement(QStringLiteral("sheetViews"));
    xml->writeEmptyElement(QStringLiteral("sheetView"));
    if (&sheet == sheets.first())
        xml->writeAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
    xml->writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
    xml->writeEndElement();
    xml->writeEmptyElement(QStringLiteral("sheetFormatPr"));
    xml->writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
    xml->writeStartElement(QStringLiteral("sheetData"));
    const Worksheet::Rows &rows = sheet.rows();
    for (auto row = rows.cbegin(); row != rows.cend(); ++row) {
        const QString rowNumber = QString::number(row.key());
        xml->writeStartElement(QStringLiteral("row"));
        xml->writeAttribute(QStringLiteral("r"), rowNumber);
        for (auto cell = row->cbegin(); cell != row->cend(); ++cell) {
            xml->writeStartElement(QStringLiteral("c"));
            xml->writeAttribute(
                QStringLiteral("r"), CellReference::columnName(cell.key()) + rowNumber);
            const QVariant &value = cell.value();
            QString stored;
            switch (value.userType()) {
            case QMetaType::QString:
                xml->writeAttribute(QStringLiteral("t"), QStringLiteral("s"));
                stored = QString::number(sharedStringIndex(value.toString()));
                break;
            case QMetaType::Bool:
                xml->writeAttribute(QStringLiteral("t"), QStringLiteral("b"));
                stored = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
                break;
            default:
                stored = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
                break;
            }
            xml->writeTextElement(QStringLiteral("v"), stored);
            xml->writeEndElement();
        }
        xml->writeEndElement();
    }
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
    const int index = strings.size();
    strings.append(text);
    stringIndexes.insert(text, index);
    return index;
}

QByteArray PackageWriter::sharedStrings() const
{
    PartWriter xml;
    xml->writeStartElement(QStringLiteral("sst"));
    xml->writeDefaultNamespace(mainNamespace);
    xml->writeAttribute(QStringLiteral("count"), QString::number(stringCells));
    xml->writeAttribute(QStringLiteral("uniqueCount"), QString::number(strings.size()));
    for (const QString &text : strings) {
        xml->writeStartElement(QStringLiteral("si"));
        CellText::writeTextElement(*xml, text);
        xml->writeEndElement();
    }
    xml->writeEndElement();
    return xml.finish();
}

} // namespace QXlsx
