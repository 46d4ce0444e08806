// qelExelWr: writes one configuration database to an xlsx workbook with one
// worksheet per table. SIGINT or SIGTERM ends the export with "Error", the
// target as it was.

#include "converterprogram.h"
#include "filesaving.h"
#include "stopsignals.h"
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

// True when the workbook would go into something that is not a regular file
// (a FIFO, a device, a terminal).
static bool isWrittenInPlace(const QString &fileName, FileSaving::Stream &file)
{
    const QFileInfo target(fileName);
    return (target.exists() && !target.isFile())
        || (file.device() && file.device()->isSequential());
}

static bool exportWorkbook(
    ConfigDatabase &database, const DatabaseKind &kind, const QString &fileName, QString *error)
{
    if (isSameFile(database.fileName(), fileName)) {
        *error = tr("The workbook %1 would replace the database").arg(fileName);
        return false;
    }
    FileSaving::Stream file;
    if (isWrittenInPlace(fileName, file))
        StopSignals::endAtOnce();
    QString reason;
    if (!file.open(fileName, &reason)) {
        *error = tr("The workbook %1 cannot be saved: %2").arg(fileName, reason);
        return false;
    }
    if (isWrittenInPlace(fileName, file))
        StopSignals::endAtOnce();
    WorkbookExport exporter(database);
    const bool written = exporter.run(kind, file.device(), fileName);
    // The stream's destructor removes the workbook begun beside the target.
    if (StopSignals::requested()) {
        *error = tr("Stopped by a signal: the workbook %1 is left as it was").arg(fileName);
        return false;
    }
    if (!written) {
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
    StopSignals::install();
    const ConverterProgram program {
        QStringLiteral("qelExelWr.exe --db db.sqlite --save db.xlsx --type data_db"),
        QStringLiteral("--save"), tr("Save to file"), ConfigDatabase::Access::ReadOnly,
        tr("Warning: %1 is not a base type; nothing is written"), exportWorkbook};
    return program.run(argc, argv);
}
