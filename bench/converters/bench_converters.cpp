// Times qelExelWr and qelExelRd on a data_db of 100,000 rows (BIBO 50,000,
// MEAS 30,000, CTRL 20,000) and prints rows per second. The programs run as
// processes, as users start them. Beside the wall-clock time it prints the
// processor time the program used (POSIX getrusage), which a busy machine
// does not inflate.
//
//   bench_converters [rows]

#include "programrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

#include <sys/resource.h>

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

// Processor time (user and system) of the waited-for child processes so far.
double childProcessorSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing
{
    double seconds = 0;
    double processorSeconds = 0;
};

bool timed(const QString &program, const QStringList &arguments, Timing *timing)
{
    const double processorBefore = childProcessorSeconds();
    QElapsedTimer timer;
    timer.start();
    const ProgramResult result = runProgram(programPath(program), arguments, 600000);
    timing->seconds = timer.nsecsElapsed() / 1e9;
    timing->processorSeconds = childProcessorSeconds() - processorBefore;
    if (result.exitCode != 0 || result.out != "Done\r\n") {
        std::fprintf(stderr, "%s failed: %s%s\n", qPrintable(program), result.out.constData(),
            result.err.constData());
        return false;
    }
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

    Timing exporting;
    Timing importing;
    if (!timed("qelExelWr", {"--db", source, "--save", workbook, "--type", "data_db"}, &exporting)
        || !timed(
            "qelExelRd", {"--db", target, "--load", workbook, "--type", "data_db"}, &importing))
        return 1;
    if (countRows(target) != rows) {
        std::fprintf(stderr, "import gave %d rows instead of %d\n", countRows(target), rows);
        return 1;
    }

    QTextStream out(stdout);
    out << "data_db of " << rows << " rows, workbook " << QFile(workbook).size() / 1024 << " KiB\n";
    const auto line = [&out, rows](const char *what, const Timing &timing) {
        out << QStringLiteral("%1: %2 s, %3 rows/s; processor %4 s, %5 rows/s\n")
                   .arg(what)
                   .arg(timing.seconds, 0, 'f', 2)
                   .arg(qRound(rows / timing.seconds))
                   .arg(timing.processorSeconds, 0, 'f', 2)
                   .arg(qRound(rows / qMax(timing.processorSeconds, 1e-3)));
    };
    line("export (qelExelWr)", exporting);
    line("import (qelExelRd)", importing);
    return 0;
}
