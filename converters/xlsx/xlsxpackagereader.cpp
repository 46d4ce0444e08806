#include "xlsxpackagereader.h"

#include "xlsxcelltext.h"
#include "xlsxworksheet.h"

#include <QDir>
#include <QUrl>
#include <QXmlStreamReader>

namespace QXlsx {

namespace {

// Text of a shared string item or an inline string, positioned on its start
// element: plain <t>, or the <t> of every rich-text run <r>; phonetic runs
// (<rPh>) and run properties are left out.
QString readRichText(QXmlStreamReader &xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("t")) {
            text += xml.readElementText();
        } else if (xml.name() == QLatin1String("r")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("t"))
                    text += xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return CellText::unescape(text);
}

// The part that holds the relationships of a part: "xl/workbook.xml" has
// "xl/_rels/workbook.xml.rels", the package itself "_rels/.rels".
QString relationshipsPart(const QString &sourcePart)
{
    const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    return sourcePart.left(slash + 1) + QLatin1String("_rels/") + sourcePart.mid(slash + 1)
        + QLatin1String(".rels");
}

// A relationship target as a part name: relative to the source part's folder,
// or from the package root when it starts with "/"; empty when it leaves the
// package.
QString resolveTarget(const QString &sourcePart, const QString &target)
{
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    QString path;
    if (decoded.startsWith(QLatin1Char('/')))
        path = decoded.mid(1);
    else
        path = sourcePart.left(sourcePart.lastIndexOf(QLatin1Char('/')) + 1) + decoded;
    path = QDir::cleanPath(path);
    if (path.isEmpty() || path.startsWith(QLatin1String("..")) || path.startsWith(QLatin1Char('/')))
        return QString();
    return path;
}

// The value of the relationship id attribute ("r:id" under any prefix).
QString relationshipId(const QXmlStreamAttributes &attributes)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == QLatin1String("id")
            && attribute.namespaceUri().endsWith(QLatin1String("/relationships")))
            return attribute.value().toString();
    }
    return QString();
}

} // namespace

PackageReader::PackageReader(const QString &fileName)
    : fileName(fileName)
{ }

bool PackageReader::read(std::vector<std::unique_ptr<Worksheet>> *sheets)
{
    if (!zip.open(fileName))
        return fail(zip.errorString());

    QString workbookPart = QStringLiteral("xl/workbook.xml");
    const QString rootRelationships = relationshipsPart(QString());
    if (zip.contains(rootRelationships)) {
        QHash<QString, Relationship> relationships;
        if (!readRelationships(QString(), &relationships))
            return false;
        for (const Relationship &relationship : qAsConst(relationships)) {
            if (relationship.type == QLatin1String("officeDocument"))
                workbookPart = relationship.target;
        }
    }

    QVector<SheetEntry> entries;
    if (!readWorkbook(workbookPart, &entries))
        return false;
    QHash<QString, Relationship> relationships;
    if (!readRelationships(workbookPart, &relationships))
        return false;
    for (const Relationship &relationship : qAsConst(relationships)) {
        if (relationship.type == QLatin1String("sharedStrings")
            && !readSharedStrings(relationship.target))
            return false;
    }

    sheets->clear();
    for (const SheetEntry &entry : qAsConst(entries)) {
        const auto found = relationships.constFind(entry.relationshipId);
        if (found == relationships.constEnd())
            return fail(QStringLiteral("sheet %1 has no part").arg(entry.name));
        if (found->type != QLatin1String("worksheet"))
            continue;
        auto sheet = std::make_unique<Worksheet>(entry.name);
        if (!readWorksheet(found->target, sheet.get()))
            return false;
        sheets->push_back(std::move(sheet));
    }
    return true;
}

bool PackageReader::readXmlPart(const QString &part, QByteArray *data)
{
    if (!zip.read(part, data))
        return fail(zip.errorString());
    return true;
}

bool PackageReader::readRelationships(
    const QString &sourcePart, QHash<QString, Relationship> *relationships)
{
    const QString part = relationshipsPart(sourcePart);
    QByteArray data;
    if (!readXmlPart(part, &data))
        return false;
    QXmlStreamReader xml(data);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Relationships")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("Relationship")) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QString type = attributes.value(QLatin1String("Type")).toString();
                const bool external
                    = attributes.value(QLatin1String("TargetMode")) == QLatin1String("External");
                const QString target = resolveTarget(
                    sourcePart, attributes.value(QLatin1String("Target")).toString());
                if (!external && !target.isEmpty()) {
                    relationships->insert(attributes.value(QLatin1String("Id")).toString(),
                        {type.mid(type.lastIndexOf(QLatin1Char('/')) + 1), target});
                }
            }
            xml.skipCurrentElement();
        }
    } else if (!xml.hasError()) {
        return fail(QStringLiteral("%1 holds no relationships").arg(part));
    }
    return xml.hasError() ? fail(part, xml) : true;
}

bool PackageReader::readWorkbook(const QString &part, QVector<SheetEntry> *entries)
{
    QByteArray data;
    if (!readXmlPart(part, &data))
        return false;
    QXmlStreamReader xml(data);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("workbook")) {
        return xml.hasError() ? fail(part, xml)
                              : fail(QStringLiteral("%1 is not a workbook").arg(part));
    }
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("sheets")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("sheet")) {
                const QXmlStreamAttributes attributes = xml.attributes();
                entries->append({attributes.value(QLatin1String("name")).toString(),
                    relationshipId(attributes)});
            }
            xml.skipCurrentElement();
        }
    }
    return xml.hasError() ? fail(part, xml) : true;
}

bool PackageReader::readSharedStrings(const QString &part)
{
    QByteArray data;
    if (!readXmlPart(part, &data))
        return false;
    QXmlStreamReader xml(data);
    if (xml.readNextStartElement()) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("si"))
                sharedStrings.append(readRichText(xml));
            else
                xml.skipCurrentElement();
        }
    }
    return xml.hasError() ? fail(part, xml) : true;
}

bool PackageReader::readWorksheet(const QString &part, Worksheet *sheet)
{
    QByteArray data;
    if (!readXmlPart(part, &data))
        return false;
    QXmlStreamReader xml(data);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("worksheet")) {
        return xml.hasError() ? fail(part, xml)
                              : fail(QStringLiteral("%1 is not a worksheet").arg(part));
    }
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("sheetData")) {
            xml.skipCurrentElement();
            continue;
        }
        int row = 0;
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("row")) {
                xml.skipCurrentElement();
                continue;
            }
            const QStringRef number = xml.attributes().value(QLatin1String("r"));
            bool ok = true;
            row = number.isEmpty() ? row + 1 : number.toInt(&ok);
            if (!ok || row < 1 || row > MaxRows)
                return fail(QStringLiteral("%1: bad row number \"%2\"").arg(part, number));
            int column = 0;
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("c")) {
                    xml.skipCurrentElement();
                } else if (!readCell(xml, row, &column, sheet)) {
                    return xml.hasError() ? fail(part, xml)
                                          : fail(QStringLiteral("%1: %2").arg(part, error));
                }
            }
        }
    }
    return xml.hasError() ? fail(part, xml) : true;
}

// Reads one <c> element of the given row. The cell's "r" attribute, when
// present, gives its position; otherwise it follows the previous cell.
bool PackageReader::readCell(QXmlStreamReader &xml, int row, int *column, Worksheet *sheet)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const QString reference = attributes.value(QLatin1String("r")).toString();
    int cellRow = row;
    if (reference.isEmpty()) {
        if (++*column > MaxColumns) {
            error = QStringLiteral("row %1 goes past the last column").arg(row);
            return false;
        }
    } else {
        const CellReference cell(reference);
        if (!cell.isValid()) {
            error = QStringLiteral("bad cell reference \"%1\"").arg(reference);
            return false;
        }
        cellRow = cell.row();
        *column = cell.column();
    }
    const QStringRef type = attributes.value(QLatin1String("t"));

    QString stored;
    bool hasStored = false;
    QString inlineText;
    bool hasInline = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("v")) {
            stored = xml.readElementText();
            hasStored = true;
        } else if (xml.name() == QLatin1String("is")) {
            inlineText = readRichText(xml);
            hasInline = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return false;

    QVariant value;
    if (type == QLatin1String("s")) {
        if (hasStored) {
            bool ok = false;
            const int index = stored.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= sharedStrings.size()) {
                error = QStringLiteral("cell %1: no shared string \"%2\"")
                            .arg(CellReference(cellRow, *column).toString(), stored);
                return false;
            }
            value = sharedStrings.at(index);
        }
    } else if (type == QLatin1String("inlineStr")) {
        // A string cell without content is an empty text, as some writers store "".
        value = hasInline ? inlineText : CellText::unescape(stored);
    } else if (type == QLatin1String("str")) {
        value = CellText::unescape(stored);
    } else if (type == QLatin1String("b")) {
        if (hasStored)
            value = stored.trimmed() == QLatin1String("1")
                || stored.trimmed() == QLatin1String("true");
    } else if (type == QLatin1String("e") || type == QLatin1String("d")) {
        if (hasStored)
            value = stored;
    } else if (hasStored && !stored.trimmed().isEmpty()) {
        bool ok = false;
        const double number = stored.trimmed().toDouble(&ok);
        value = ok ? QVariant(number) : QVariant(stored);
    }
    if (value.isValid())
        sheet->write(cellRow, *column, value);
    return true;
}

bool PackageReader::fail(const QString &part, const QXmlStreamReader &xml)
{
    return fail(
        QStringLiteral("%1, line %2: %3").arg(part).arg(xml.lineNumber()).arg(xml.errorString()));
}

bool PackageReader::fail(const QString &message)
{
    error = message;
    return false;
}

} // namespace QXlsx
