// qelExelRd: replaces the content of one configuration database with the rows
// of an xlsx workbook, one worksheet per table.

#include "converterprogram.h"
#include "workbookimport.h"
#include "xlsxpackagereader.h"

#include <QCoreApplication>

static QString tr(const char *text)
{
    return QCoreApplication::translate("qelExelRd", text);
}

static bool importWorkbook(
    ConfigDatabase &database, const DatabaseKind &kind, const QString &fileName, QString *error)
{
    QXlsx::PackageReader workbook(fileName);
    if (!workbook.open()) {
        *error = tr("The workbook %1 cannot be read: %2").arg(fileName, workbook.errorString());
        return false;
    }
    WorkbookImport import(database.connection(), workbook);
    if (!import.run(kind)) {
        *error = import.errorString();
        return false;
    }
    return true;
}

int main(int argc, char *argv[])
{
    const ConverterProgram program {
        QStringLiteral("qelExelRd.exe --db db.sqlite --load db.xlsx --type data_db"),
        QStringLiteral("--load"), tr("Load from file"), ConfigDatabase::Access::ReadWrite,
        tr("Warning: %1 is not a base type; nothing is read"), importWorkbook};
    return program.run(argc, argv);
}
