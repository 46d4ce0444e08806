#include "configdatabase.h"

#include "filenames.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

static const QString connectionName = QStringLiteral("db");

static QString tr(const char *text)
{
    return QCoreApplication::translate("ConfigDatabase", text);
}

ConfigDatabase::~ConfigDatabase()
{
    if (!database.isValid())
        return;
    database.close();
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

bool ConfigDatabase::open(const QString &fileName, Access access)
{
    name = fileName;
    const QFileInfo file(fileName);
    if (!file.exists()) {
        error = tr("Database %1 does not exist").arg(fileName);
        return false;
    }
    if (!file.isFile()) {
        error = tr("Database %1 is not a file").arg(fileName);
        return false;
    }
    // The file is named by a URI whose mode forbids creating it, so a file
    // removed after the check above is not made anew as an empty database.
    const QString uri = FileNames::toFileUri(file.absoluteFilePath())
        + (access == Access::ReadOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000;QSQLITE_OPEN_URI");
    if (access == Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");

    database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    database.setDatabaseName(uri);
    database.setConnectOptions(options);
    if (!database.open()) {
        error = tr("Database %1 cannot be opened: %2").arg(fileName, database.lastError().text());
        return false;
    }
    // SQLite reads the file lazily: a first query shows whether it is a database.
    QSqlQuery probe(database);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        error = tr("Database %1 cannot be read: %2").arg(fileName, probe.lastError().text());
        return false;
    }
    return true;
}

bool ConfigDatabase::hasTable(const QString &name, bool *ok) const
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') "
                                 "AND name = :name COLLATE NOCASE"));
    query.bindValue(QStringLiteral(":name"), name);
    *ok = query.exec();
    return *ok && query.next();
}
