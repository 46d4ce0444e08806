// Times qelExelWr and qelExelRd on a data_db of 100,000 rows (BIBO 50,000,
// MEAS 30,000, CTRL 20,000) side by side with the same export and import done
// by openpyxl's write-only and read-only modes (the two scripts beside this
// file, run by Debian's /usr/bin/python3), and prints both times, the ratios
// and each program's peak memory. Every program runs as a process, as users
// start them; its processor time and peak resident memory come from wait4.
//
// The import is also set beside its floor: inflating the workbook's
// worksheets through the same zip reader, without reading their XML.
//
//   bench_converters [rows] [--without-openpyxl]

#include "programrun.h"
#include "xlsxzipreader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>

#include <cstdio>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

const QStringList createStatements {
    "CREATE TABLE BIBO (ref INTEGER, visible INTEGER, view INTEGER, txt TEXT, desc TEXT, "
    "type TEXT, color TEXT, value TEXT, raw INTEGER, counter INTEGER)",
    "CREATE TABLE MEAS (ref INTEGER, visible INTEGER, view INTEGER, txt TEXT, unit TEXT, "
    "desc TEXT, color TEXT, value TEXT, raw INTEGER, counter INTEGER)",
    "CREATE TABLE CTRL (ref INTEGER, visible INTEGER, view INTEGER, txt TEXT, desc TEXT, "
    "color TEXT, value TEXT)",
};

bool fill(const QString &fileName, int rows)
{
    bool ok = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "bench");
        database.setDatabaseName(fileName);
        ok = database.open() && database.transaction();
        QSqlQuery query(database);
        for (const QString &statement : createStatements)
            ok = ok && query.exec(statement);
        const int bibo = rows / 2;
        const int meas = rows * 3 / 10;
        const int ctrl = rows - bibo - meas;
        for (int i = 0; ok && i < bibo; ++i) {
            query.prepare(
                "INSERT INTO BIBO VALUES (?, 1, 1, ?, ?, 'bi', '#ff0000', '-ERR-', 0, 0)");
            query.addBindValue(i + 1);
            query.addBindValue(QString::fromUtf8("Wyłącznik Q%1 zamknięty").arg(i));
            query.addBindValue(QStringLiteral("Breaker position, bay %1").arg(i % 40));
            ok = query.exec();
        }
        for (int i = 0; ok && i < meas; ++i) {
            query.prepare("INSERT INTO MEAS VALUES (?, 1, 2, ?, 'kV', ?, '', '-ERR-', 0, 0)");
            query.addBindValue(i + 1);
            query.addBindValue(QStringLiteral("U L%1").arg(i % 3 + 1));
            query.addBindValue(QString::fromUtf8("Napięcie fazowe, pole %1").arg(i));
            ok = query.exec();
        }
        for (int i = 0; ok && i < ctrl; ++i) {
            query.prepare("INSERT INTO CTRL VALUES (?, 1, 0, ?, 'open / close', '', '0')");
            query.addBindValue(i + 1);
            query.addBindValue(QStringLiteral("Control %1").arg(i));
            ok = query.exec();
        }
        ok = ok && database.commit();
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
        database.close();
    }
    QSqlDatabase::removeDatabase("bench");
    return ok;
}

int countRows(const QString &fileName)
{
    int count = 0;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "count");
        database.setDatabaseName(fileName);
        if (database.open()) {
            QSqlQuery query(database);
            for (const char *table : {"BIBO", "MEAS", "CTRL"}) {
                if (query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table))
                    && query.next())
                    count += query.value(0).toInt();
            }
        }
        database.close();
    }
    QSqlDatabase::removeDatabase("count");
    return count;
}

double processorSeconds(const rusage &usage)
{
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing
{
    double seconds = 0;
    double processorSeconds = 0;
    long peakKiB = 0;
};

// Runs a program to its end with its standard output in a file, measured by
// wait4; false when it fails or does not print "Done" where expected.
bool timed(const QString &program, const QStringList &arguments, const QString &outFile,
    bool expectDone, Timing *timing)
{
    QVector<QByteArray> bytes {QFile::encodeName(program)};
    for (const QString &argument : arguments)
        bytes.append(QFile::encodeName(argument));
    QVector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.append(argument.data());
    argv.append(nullptr);
    const QByteArray out = QFile::encodeName(outFile);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(
        &actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "%s cannot start\n", qPrintable(program));
        return false;
    }
    int status = 0;
    rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    timing->seconds = timer.nsecsElapsed() / 1e9;
    timing->processorSeconds = processorSeconds(usage);
    timing->peakKiB = usage.ru_maxrss;
    QFile printed(outFile);
    printed.open(QIODevice::ReadOnly);
    const QByteArray text = printed.readAll();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || (expectDone && text != "Done\r\n")) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), text.constData());
        return false;
    }
    return true;
}

// Inflates every worksheet part of the workbook in 64 KiB pieces, as the
// import reads them, and throws the bytes away.
bool inflateWorksheets(const QString &workbook, Timing *timing)
{
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer timer;
    timer.start();
    QXlsx::ZipReader zip;
    if (!zip.open(workbook))
        return false;
    static char piece[64 * 1024];
    for (int sheet = 1; zip.contains(QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet));
         ++sheet) {
        if (!zip.openEntry(QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)))
            return false;
        qint64 count = 0;
        while ((count = zip.readEntry(piece, sizeof piece)) > 0) { }
        if (count < 0 || !zip.closeEntry())
            return false;
    }
    timing->seconds = timer.nsecsElapsed() / 1e9;
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    timing->processorSeconds = processorSeconds(after) - processorSeconds(before);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int rows = argc > 1 ? QString(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString source = dir.filePath("data.sqlite");
    const QString target = dir.filePath("copy.sqlite");
    const QString workbook = dir.filePath("data.xlsx");
    if (!dir.isValid() || !fill(source, rows) || !QFile::copy(source, target))
        return 1;

    const bool withOpenpyxl = !application.arguments().contains("--without-openpyxl");
    const QString python = "/usr/bin/python3";
    const QString scripts = QStringLiteral(QEL_BENCH_SCRIPTS);
    const QString out = dir.filePath("out.txt");
    Timing exporting, importing, inflating, pyExporting, pyImporting;
    if (!timed(programPath("qelExelWr"), {"--db", source, "--save", workbook, "--type", "data_db"},
            out, true, &exporting)
        || !timed(programPath("qelExelRd"),
            {"--db", target, "--load", workbook, "--type", "data_db"}, out, true, &importing))
        return 1;
    if (!inflateWorksheets(workbook, &inflating)) {
        std::fprintf(stderr, "the worksheets of the workbook cannot be inflated\n");
        return 1;
    }
    if (countRows(target) != rows) {
        std::fprintf(stderr, "import gave %d rows instead of %d\n", countRows(target), rows);
        return 1;
    }
    if (withOpenpyxl
        && (!timed(python, {scripts + "/openpyxl_export.py", source, dir.filePath("py.xlsx")}, out,
                false, &pyExporting)
            || !timed(python, {scripts + "/openpyxl_import.py", workbook, target}, out, false,
                &pyImporting)))
        return 1;
    if (withOpenpyxl && countRows(target) != rows) {
        std::fprintf(stderr, "openpyxl's import gave %d rows\n", countRows(target));
        return 1;
    }

    QTextStream text(stdout);
    text << "data_db of " << rows << " rows, workbook " << QFile(workbook).size() / 1024
         << " KiB\n";
    const auto line = [&text, rows](const char *what, const Timing &timing) {
        text << QStringLiteral("%1: %2 s, %3 rows/s; processor %4 s; peak memory %5 MiB\n")
                    .arg(what)
                    .arg(timing.seconds, 0, 'f', 2)
                    .arg(qRound(rows / timing.seconds))
                    .arg(timing.processorSeconds, 0, 'f', 2)
                    .arg(timing.peakKiB / 1024.0, 0, 'f', 1);
    };
    line("export, qelExelWr", exporting);
    if (withOpenpyxl)
        line("export, openpyxl write-only", pyExporting);
    line("import, qelExelRd", importing);
    text << QStringLiteral("inflating the worksheets alone: %1 s; processor %2 s\n")
                .arg(inflating.seconds, 0, 'f', 2)
                .arg(inflating.processorSeconds, 0, 'f', 2);
    text << QStringLiteral("qelExelRd takes %1 times the time of inflating its worksheets "
                           "(processor %2 times)\n")
                .arg(importing.seconds / inflating.seconds, 0, 'f', 1)
                .arg(importing.processorSeconds / inflating.processorSeconds, 0, 'f', 1);
    if (withOpenpyxl) {
        line("import, openpyxl read-only", pyImporting);
        text << QStringLiteral("qelExelWr is %1 times as fast as openpyxl (processor %2 times)\n")
                    .arg(pyExporting.seconds / exporting.seconds, 0, 'f', 1)
                    .arg(pyExporting.processorSeconds / exporting.processorSeconds, 0, 'f', 1);
        text << QStringLiteral("qelExelRd is %1 times as fast as openpyxl (processor %2 times)\n")
                    .arg(pyImporting.seconds / importing.seconds, 0, 'f', 1)
                    .arg(pyImporting.processorSeconds / importing.processorSeconds, 0, 'f', 1);
    }
    return 0;
}
