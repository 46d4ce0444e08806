// qelExelWr: writes one configuration database to an xlsx workbook with one
// worksheet per table.

#include "converterprogram.h"
#include "filesaving.h"
#include "workbookexport.h"

#include <QCoreApplication>
#include <QFileInfo>

static QString tr(const char *text)
{
    return QCoreApplication::translate("qelExelWr", text);
}

// True when the workbook would be written over the database itself.
static bool isSameFile(const QString &database, const QString &workbook)
{
    const QFileInfo target(workbook);
    return target.exists() && target.canonicalFilePath() == QFileInfo(database).canonicalFilePath();
}

static bool exportWorkbook(
    ConfigDatabase &database, const DatabaseKind &kind, const QString &fileName, QString *error)
{
    if (isSameFile(database.fileName(), fileName)) {
        *error = tr("The workbook %1 would replace the database").arg(fileName);
        return false;
    }
    FileSaving::Stream file;
    QString reason;
    if (!file.open(fileName, &reason)) {
        *error = tr("The workbook %1 cannot be saved: %2").arg(fileName, reason);
        return false;
    }
    WorkbookExport exporter(database);
    if (!exporter.run(kind, file.device(), fileName)) {
        *error = exporter.errorString();
        return false;
    }
    if (!file.commit(&reason)) {
        *error = tr("The workbook %1 cannot be saved: %2").arg(fileName, reason);
        return false;
    }
    return true;
}

int main(int argc, char *argv[])
{
    const ConverterProgram program {
        QStringLiteral("qelExelWr.exe --db db.sqlite --save db.xlsx --type data_db"),
        QStringLiteral("--save"), tr("Save to file"), ConfigDatabase::Access::ReadOnly,
        tr("Warning: %1 is not a base type; nothing is written"), exportWorkbook};
    return program.run(argc, argv);
}
