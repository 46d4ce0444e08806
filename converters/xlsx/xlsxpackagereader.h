#pragma once

#include "xlsxsharedstrings.h"
#include "xlsxsheetreader.h"
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
// reference, a shared string index out of range) fails the read, so no
// partial content is ever taken for the workbook.
//
// open() reads the structure and the shared strings; the worksheets are then
// read whole (read()) or row by row (openSheet()).
class PackageReader
{
public:
    // The largest workbook, relationship or content-types part read.
    static constexpr qint64 MaxStructurePart = 16 * 1024 * 1024;

    explicit PackageReader(const QString &fileName);

    bool open();
    // The worksheets' names in workbook order.
    QStringList sheetNames() const;
    // A reader for the worksheet of exactly this name, opened; null with
    // errorString() when there is none or it cannot be opened. Only one sheet
    // is read at a time.
    std::unique_ptr<SheetReader> openSheet(const QString &name, SheetReader::Warn warn = {});
    // Opens the package and reads every worksheet whole.
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
        QString part;
    };

    bool readXmlPart(const QString &part, QByteArray *data);
    bool readRelationships(const QString &sourcePart, QHash<QString, Relationship> *relationships);
    bool readWorkbook(const QString &part, QVector<QPair<QString, QString>> *entries);
    bool readSharedStrings(const QString &part);
    bool fail(const QString &part, const QXmlStreamReader &xml);
    bool fail(const QString &message);

    QString fileName;
    ZipReader zip;
    SharedStrings sharedStrings;
    bool hasSharedStrings = false;
    QVector<SheetEntry> sheets;
    QString error;
};

} // namespace QXlsx
