#pragma once

#include "xlsxzipreader.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <vector>

class QXmlStreamReader;

namespace QXlsx {

class Worksheet;

// Reads the worksheets of an xlsx package as spreadsheet programs write it:
// parts found through the relationships (any part names, any sheet order),
// elements matched by local name (with or without namespace prefixes, in the
// transitional or the strict namespace), text from the shared string table or
// inline, rich-text runs joined, phonetic runs left out, cells with or without
// their "r" attribute. Chart and dialog sheets are not worksheets and are
// left out. Any damage (a broken zip entry, malformed XML, a bad cell
// reference, a shared string index out of range) fails the whole read, so no
// partial content is ever taken for the workbook.
class PackageReader
{
public:
    explicit PackageReader(const QString &fileName);

    bool read(std::vector<std::unique_ptr<Worksheet>> *sheets);
    QString errorString() const { return error; }

private:
    struct Relationship
    {
        QString type; // the last segment of the type URI: "worksheet", ...
        QString target; // part name inside the package, without leading "/"
    };
    struct SheetEntry
    {
        QString name;
        QString relationshipId;
    };

    bool readXmlPart(const QString &part, QByteArray *data);
    bool readRelationships(const QString &sourcePart, QHash<QString, Relationship> *relationships);
    bool readWorkbook(const QString &part, QVector<SheetEntry> *entries);
    bool readSharedStrings(const QString &part);
    bool readWorksheet(const QString &part, Worksheet *sheet);
    bool readCell(QXmlStreamReader &xml, int row, int *column, Worksheet *sheet);
    bool fail(const QString &part, const QXmlStreamReader &xml);
    bool fail(const QString &message);

    QString fileName;
    ZipReader zip;
    QStringList sharedStrings;
    QString error;
};

} // namespace QXlsx
