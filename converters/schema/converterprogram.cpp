#include "converterprogram.h"

#include "checks.h"
#include "converterconsole.h"
#include "databasekinds.h"
#include "filenames.h"
#include "optionpairs.h"
#include "reportprinter.h"

#include <QCoreApplication>

#include <new>

static QString tr(const char *text)
{
    return QCoreApplication::translate("ConverterProgram", text);
}

static int fail(const QString &reason)
{
    printError(reason + QStringLiteral("<br>"));
    printReport(QStringLiteral("Error<br>"));
    return -1;
}

int ConverterProgram::run(int argc, char *argv[]) const
{
    FileNames::keepBytesAsGiven(); // file names as given, also when not UTF-8
    keepRunningWhenOutputCloses(); // a conversion is never cut off half-way
    QCoreApplication application(argc, argv);
    const QStringList optionTable {
        QStringLiteral("--help"), fileOption, QStringLiteral("--db"), QStringLiteral("--type")};
    if (Checks::printUnknownOptions(Checks::unknownOptions(
            application.arguments(), optionTable, {QStringLiteral("--help")})))
        return -1;
    const OptionPairs options(application.arguments(), optionTable);

    if (options.isEmpty() || options.has(QStringLiteral("--help"))) {
        printReport(ConverterConsole::helpText(example, fileOption, fileDescription));
        return 0;
    }
    const QString missing = ConverterConsole::missingOptions(
        options, {fileOption, QStringLiteral("--db"), QStringLiteral("--type")});
    if (!missing.isEmpty()) {
        printReport(tr("Required parameters") + QStringLiteral(":<br>") + missing);
        return -1;
    }
    const QString databaseFile = options.value(QStringLiteral("--db"));
    const QString workbookFile = options.value(fileOption);
    const QString type = options.value(QStringLiteral("--type"));

    try {
        ConfigDatabase database;
        if (!database.open(databaseFile, access))
            return fail(database.errorString());

        const DatabaseKind *kind = DatabaseKinds::find(type);
        if (!kind) {
            printError(unknownKindWarning.arg(type) + QStringLiteral("<br>"));
            printReport(QStringLiteral("Done<br>"));
            return 0;
        }
        QString error;
        if (!work(database, *kind, workbookFile, &error))
            return fail(error);
    } catch (const std::bad_alloc &) {
        // The database closes without a commit on the way out: SQLite rolls
        // back whatever the import had begun.
        return fail(tr("Out of memory"));
    }
    printReport(QStringLiteral("Done<br>"));
    return 0;
}
