#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

// Saves transactions as the monitor's CSV rows, header first, by the tool
// set's saving rules: a file is replaced only once the new content is
// completely written, so a save that fails leaves the old file as it was.
// Only a regular file, or a name where nothing is yet, is taken: a FIFO
// would hold the window until something read it, and a device could swallow
// the rows.
class monitorCsvFile
{
    Q_DECLARE_TR_FUNCTIONS(monitorCsvFile)

public:
    // Writes header and rows (each one or more CSV records with their line
    // ends) to path; false with the reason in *error.
    static bool save(const QString &path, const QByteArray &header, const QList<QByteArray> &rows,
        QString *error);
};
