#pragma once

#include "mapimport.h"
#include "mapoptions.h"
#include "readvalues.h"
#include "writevalues.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// Register map files: an xlsx workbook (by its ".xlsx" ending) or CSV text
// (any other file). Only regular files of at most MaxBytes are read: a FIFO
// or a device could block the window, a huge file its memory.
class registerMapFile
{
    Q_DECLARE_TR_FUNCTIONS(registerMapFile)

public:
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    enum class Kind { Csv, Xlsx };
    static Kind kindOf(const QString &path);

    // The map's requests and problems; a file that cannot be read gives one
    // problem that says why. *detected (when given) says how a CSV file was
    // read: its separator and encoding.
    static mapImport read(
        const QString &path, const mapOptions &options, QString *detected = nullptr);

    // Writes the requests as a map; the file is replaced only once it has
    // been written whole. On failure *error says why.
    static bool write(const QString &path, const QList<readValues> &reads,
        const QList<writeValues> &writes, QString *error);
};
