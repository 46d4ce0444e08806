#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Builds xlsx packages part by part, the way other spreadsheet programs lay
// them out, straight through QuaZip (not through the layer under test).
namespace PackageMaker {

using Parts = QMap<QString, QByteArray>;

// Writes the parts as a zip archive.
bool write(const QString &fileName, const Parts &parts);
// The parts of a package with one worksheet of this name and XML, plus an
// optional shared string table: content types, package and workbook
// relationships and the workbook.
Parts singleSheet(const QByteArray &sheetXml, const QByteArray &sharedStringsXml = QByteArray(),
    const QString &sheetName = QStringLiteral("Sheet1"));
// The main spreadsheet namespace and a worksheet of it around rows of sheetData.
extern const QByteArray mainNamespace;
QByteArray worksheet(const QByteArray &sheetData);

} // namespace PackageMaker
