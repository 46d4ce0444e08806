#pragma once

#include "readvalues.h"
#include "writevalues.h"

#include <QCoreApplication>
#include <QString>

#include <optional>
#include <vector>

// Why a line of a register map is not taken: its line number (0 for the
// file as a whole), the column as the file's header names it, and the
// reason.
struct mapProblem
{
    Q_DECLARE_TR_FUNCTIONS(mapProblem)

public:
    int line = 0;
    QString column;
    QString reason;

    // "Line 12, Address: 70000 is outside 0 to 65535"; "File: ..." for the
    // file as a whole.
    QString text() const;
};

// The requests of one line of a map: a read, a write, or both.
struct mapEntry
{
    int line = 0;
    std::optional<readValues> read;
    std::optional<writeValues> write;
};

// What a register map gives: the lines that can be added and every line
// that cannot, in line order.
struct mapImport
{
    std::vector<mapEntry> entries;
    std::vector<mapProblem> problems;

    int readCount() const;
    int writeCount() const;
};
