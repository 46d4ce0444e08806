#pragma once

#include <QString>

// The database in which a scan records the devices it finds and its progress
// for another program that watches it: an existing SQLite file with a table
// devices (port, address, baudrate, identification, sn) and a key-value table
// progress. Every statement binds its values and commits on its own, so a
// reader never waits for more than one statement; a statement waits up to
// 2000 ms for a lock that a reader holds.
class ScanDatabase
{
public:
    explicit ScanDatabase(const QString &file);
    ~ScanDatabase();
    ScanDatabase(const ScanDatabase &) = delete;
    ScanDatabase &operator=(const ScanDatabase &) = delete;

    // Opens the file for reading and writing and checks its tables. Never
    // creates the file. On failure errorText() says why, naming the file.
    bool open();

    // Each returns false when the statement failed; errorText() says why.
    bool setProgress(int percent);
    bool clearDevices();
    bool insertDevice(const QString &port, quint32 address, quint32 baudRate,
        const QString &identification, const QString &serialNumber);

    QString errorText() const { return error; }

private:
    bool checkTables();
    bool failed(const QString &what);

    QString file;
    QString error;
};
