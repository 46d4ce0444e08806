#pragma once

#include <QSqlDatabase>
#include <QString>

// The SQLite configuration database a converter works on, opened through
// Qt's "QSQLITE" driver as connection "db" with a busy time-out of 2000 ms.
// The file must exist and be a database: it is never created.
class ConfigDatabase
{
public:
    enum class Access { ReadOnly, ReadWrite };

    ConfigDatabase() = default;
    ~ConfigDatabase();
    ConfigDatabase(const ConfigDatabase &) = delete;
    ConfigDatabase &operator=(const ConfigDatabase &) = delete;

    // Opens an existing database file; false, with errorString(), when the
    // file does not exist, cannot be opened or is not an SQLite database.
    bool open(const QString &fileName, Access access);
    QSqlDatabase connection() const { return database; }
    // The file name given to open().
    QString fileName() const { return name; }
    // Whether the database has a table or view of this name (in any case).
    bool hasTable(const QString &name, bool *ok) const;
    QString errorString() const { return error; }

private:
    QSqlDatabase database;
    QString name;
    QString error;
};
