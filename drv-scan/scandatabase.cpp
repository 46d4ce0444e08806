#include "scandatabase.h"

#include "filenames.h"

#include "translationcontext.h"
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

constexpr TranslationContext tr("ScanDatabase");

const QString ConnectionName = QStringLiteral("datBase");

QSqlDatabase connection()
{
    return QSqlDatabase::database(ConnectionName, false);
}

const QStringList DeviceColumns {QStringLiteral("port"), QStringLiteral("address"),
    QStringLiteral("baudrate"), QStringLiteral("identification"), QStringLiteral("sn")};

} // namespace

ScanDatabase::ScanDatabase(const QString &file)
    : file(file)
{ }

ScanDatabase::~ScanDatabase()
{
    if (!QSqlDatabase::contains(ConnectionName))
        return;
    connection().close();
    QSqlDatabase::removeDatabase(ConnectionName);
}

bool ScanDatabase::failed(const QString &what)
{
    error = tr("Database") + " " + file + ": " + what;
    return false;
}

bool ScanDatabase::open()
{
    const QFileInfo info(file);
    if (!info.exists())
        return failed(tr("the file does not exist"));
    if (!info.isFile())
        return failed(tr("not a file"));

    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
    // Opened by URI in read-write mode, which never creates a missing file;
    // the URI carries the name's bytes as given.
    database.setDatabaseName(
        FileNames::toFileUri(info.absoluteFilePath()) + QStringLiteral("?mode=rw"));
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000;QSQLITE_OPEN_URI"));
    if (!database.open())
        return failed(tr("cannot be opened") + " (" + database.lastError().text() + ")");
    return checkTables();
}

bool ScanDatabase::checkTables()
{
    // Reading the schema is also the first read of the file: a file that is
    // not a database fails here.
    QSqlQuery tables(connection());
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table';")))
        return failed(tr("cannot be read") + " (" + tables.lastError().text() + ")");
    QStringList names;
    while (tables.next())
        names.append(tables.value(0).toString().toLower());
    for (const char *table : {"devices", "progress"}) {
        if (!names.contains(QLatin1String(table)))
            return failed(tr("no table") + " " + QLatin1String(table));
    }

    QSqlQuery columns(connection());
    if (!columns.exec(QStringLiteral("PRAGMA table_info(devices);")))
        return failed(tr("cannot be read") + " (" + columns.lastError().text() + ")");
    QStringList present;
    while (columns.next())
        present.append(columns.value(1).toString().toLower());
    for (const QString &column : DeviceColumns) {
        if (!present.contains(column))
            return failed(tr("no column") + " " + column + " " + tr("in the table devices"));
    }
    return true;
}

bool ScanDatabase::setProgress(int percent)
{
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO progress VALUES ( 'progress', ? );"));
    query.addBindValue(percent);
    if (!query.exec())
        return failed(tr("progress not written") + " (" + query.lastError().text() + ")");
    return true;
}

bool ScanDatabase::clearDevices()
{
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("DELETE FROM devices;")))
        return failed(tr("devices not cleared") + " (" + query.lastError().text() + ")");
    return true;
}

bool ScanDatabase::insertDevice(const QString &port, quint32 address, quint32 baudRate,
    const QString &identification, const QString &serialNumber)
{
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("INSERT INTO devices ( port, address, baudrate, identification, "
                                 "sn ) VALUES ( ?, ?, ?, ?, ? );"));
    // Every value goes in as text, as the watching program has always found them.
    query.addBindValue(port);
    query.addBindValue(QString::number(address));
    query.addBindValue(QString::number(baudRate));
    query.addBindValue(identification);
    query.addBindValue(serialNumber);
    if (!query.exec()) {
        return failed(tr("device not recorded") + " " + port + " " + QString::number(address) + " ("
            + query.lastError().text() + ")");
    }
    return true;
}
