#include "xlsxpackagereader.h"

#include "xlsxworksheet.h"

#include <QDir>
#include <QUrl>
#include <QXmlStreamReader>

// Two XML readers, each where it fits: the small structure parts (the
// relationships and the workbook, at most MaxStructurePart bytes) are read
// whole with QXmlStreamReader, which resolves namespaces, as finding a sheet's
// part needs (its relationship id is an attribute in the relationships
// namespace, under whatever prefix the writer chose). The worksheets and the
// shared strings, which may be hundreds of megabytes, are read as streams by
// XmlScanner, which drops prefixes, keeps memory bounded and is several times
// faster.

namespace QXlsx {

namespace {

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

bool PackageReader::open()
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

    QVector<QPair<QString, QString>> entries; // sheet name, relationship id
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

    for (const auto &entry : qAsConst(entries)) {
        const auto found = relationships.constFind(entry.second);
        if (found == relationships.constEnd())
            return fail(QStringLiteral("sheet %1 has no part").arg(entry.first));
        if (found->type == QLatin1String("worksheet"))
            sheets.append({entry.first, found->target});
    }
    return true;
}

QStringList PackageReader::sheetNames() const
{
    QStringList names;
    for (const SheetEntry &sheet : sheets)
        names.append(sheet.name);
    return names;
}

std::unique_ptr<SheetReader> PackageReader::openSheet(const QString &name, SheetReader::Warn warn)
{
    for (const SheetEntry &sheet : qAsConst(sheets)) {
        if (sheet.name != name)
            continue;
        auto reader = std::make_unique<SheetReader>(
            zip, sheet.part, sheet.name, hasSharedStrings ? &sharedStrings : nullptr, warn);
        if (!reader->open()) {
            error = reader->errorString();
            return nullptr;
        }
        return reader;
    }
    error = QStringLiteral("the workbook has no worksheet %1").arg(name);
    return nullptr;
}

bool PackageReader::read(std::vector<std::unique_ptr<Worksheet>> *into)
{
    into->clear();
    if (!open())
        return false;
    SheetRow row;
    for (const SheetEntry &entry : qAsConst(sheets)) {
        auto sheet = std::make_unique<Worksheet>(entry.name);
        const std::unique_ptr<SheetReader> reader = openSheet(entry.name);
        if (!reader)
            return false;
        while (reader->nextRow(&row)) {
            for (const SheetCell &cell : row.cells)
                sheet->write(row.number, cell.column, cell.value());
        }
        if (reader->hasError())
            return fail(reader->errorString());
        into->push_back(std::move(sheet));
    }
    return true;
}

bool PackageReader::readXmlPart(const QString &part, QByteArray *data)
{
    if (!zip.read(part, MaxStructurePart, data))
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

bool PackageReader::readWorkbook(const QString &part, QVector<QPair<QString, QString>> *entries)
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
    if (!zip.openEntry(part))
        return fail(zip.errorString());
    XmlScanner xml([this](char *buffer, qint64 size) { return zip.readEntry(buffer, size); },
        [this]() { return zip.errorString(); });
    if (!sharedStrings.read(xml))
        return fail(QStringLiteral("%1, line %2: %3")
                        .arg(part)
                        .arg(xml.lineNumber())
                        .arg(sharedStrings.errorString()));
    if (!zip.closeEntry())
        return fail(zip.errorString());
    hasSharedStrings = true;
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
