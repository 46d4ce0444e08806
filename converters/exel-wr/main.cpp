// qelExelWr: writes one configuration database to an xlsx workbook with one
// worksheet per table.

#include "configdatabase.h"
#include "converterconsole.h"
#include "databasekinds.h"
#include "optionpairs.h"
#include "reportprinter.h"
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

static int fail(const QString &reason)
{
    printError(reason + QStringLiteral("<br>"));
    printReport(QStringLiteral("Error<br>"));
    return -1;
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const OptionPairs options(application.arguments(),
        {QStringLiteral("--help"), QStringLiteral("--save"), QStringLiteral("--db"),
            QStringLiteral("--type")});

    if (options.isEmpty() || options.has(QStringLiteral("--help"))) {
        printReport(ConverterConsole::helpText(
            QStringLiteral("qelExelWr.exe --db db.sqlite --save db.xlsx --type data_db"),
            QStringLiteral("--save"), tr("Save to file")));
        return 0;
    }
    const QString missing = ConverterConsole::missingOptions(
        options, {QStringLiteral("--save"), QStringLiteral("--db"), QStringLiteral("--type")});
    if (!missing.isEmpty()) {
        printReport(tr("Required parameters") + QStringLiteral(":<br>") + missing);
        return -1;
    }
    const QString databaseFile = options.value(QStringLiteral("--db"));
    const QString workbookFile = options.value(QStringLiteral("--save"));
    const QString type = options.value(QStringLiteral("--type"));

    ConfigDatabase database;
    if (!database.open(databaseFile, ConfigDatabase::Access::ReadOnly))
        return fail(database.errorString());

    const DatabaseKind *kind = DatabaseKinds::find(type);
    if (!kind) {
        printError(tr("Warning: %1 is not a base type; nothing is written").arg(type)
            + QStringLiteral("<br>"));
        printReport(QStringLiteral("Done<br>"));
        return 0;
    }
    if (isSameFile(databaseFile, workbookFile))
        return fail(tr("The workbook %1 would replace the database").arg(workbookFile));

    WorkbookExport exporter(database);
    if (!exporter.run(*kind, workbookFile))
        return fail(exporter.errorString());

    printReport(QStringLiteral("Done<br>"));
    return 0;
}
