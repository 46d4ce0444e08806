// qelExelRd: replaces the content of one configuration database with the rows
// of an xlsx workbook, one worksheet per table.

#include "configdatabase.h"
#include "converterconsole.h"
#include "databasekinds.h"
#include "optionpairs.h"
#include "reportprinter.h"
#include "workbookimport.h"
#include "xlsxdocument.h"

#include <QCoreApplication>

static QString tr(const char *text)
{
    return QCoreApplication::translate("qelExelRd", text);
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
        {QStringLiteral("--help"), QStringLiteral("--load"), QStringLiteral("--db"),
            QStringLiteral("--type")});

    if (options.isEmpty() || options.has(QStringLiteral("--help"))) {
        printReport(ConverterConsole::helpText(
            QStringLiteral("qelExelRd.exe --db db.sqlite --load db.xlsx --type data_db"),
            QStringLiteral("--load"), tr("Load from file")));
        return 0;
    }
    const QString missing = ConverterConsole::missingOptions(
        options, {QStringLiteral("--load"), QStringLiteral("--db"), QStringLiteral("--type")});
    if (!missing.isEmpty()) {
        printReport(tr("Required parameters") + QStringLiteral(":<br>") + missing);
        return -1;
    }
    const QString databaseFile = options.value(QStringLiteral("--db"));
    const QString workbookFile = options.value(QStringLiteral("--load"));
    const QString type = options.value(QStringLiteral("--type"));

    ConfigDatabase database;
    if (!database.open(databaseFile, ConfigDatabase::Access::ReadWrite))
        return fail(database.errorString());

    const DatabaseKind *kind = DatabaseKinds::find(type);
    if (!kind) {
        printError(tr("Warning: %1 is not a base type; nothing is read").arg(type)
            + QStringLiteral("<br>"));
        printReport(QStringLiteral("Done<br>"));
        return 0;
    }

    QXlsx::Document workbook(workbookFile);
    if (!workbook.isLoadPackage())
        return fail(
            tr("The workbook %1 cannot be read: %2").arg(workbookFile, workbook.errorString()));

    WorkbookImport import(database.connection(), workbook);
    if (!import.run(*kind))
        return fail(import.errorString());

    printReport(QStringLiteral("Done<br>"));
    return 0;
}
