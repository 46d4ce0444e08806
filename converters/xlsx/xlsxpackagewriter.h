#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace QXlsx {

class Worksheet;

// Builds the zip package of a workbook: content types, relationships, the
// workbook, a default style sheet, one part per worksheet and the shared
// string table that all text cells refer to.
class PackageWriter
{
public:
    // The worksheets in workbook order; there must be at least one.
    explicit PackageWriter(const QVector<const Worksheet *> &sheets);

    bool write(QByteArray *archive);
    QString errorString() const { return error; }

private:
    QByteArray contentTypes() const;
    QByteArray rootRelationships() const;
    QByteArray workbook() const;
    QByteArray workbookRelationships() const;
    QByteArray styles() const;
    QByteArray worksheet(const Worksheet &sheet);
    QByteArray sharedStrings() const;
    int sharedStringIndex(const QString &text);

    QVector<const Worksheet *> sheets;
    QHash<QString, int> stringIndexes;
    QStringList strings;
    int stringCells = 0;
    QString error;
};

} // namespace QXlsx
