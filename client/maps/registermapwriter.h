#pragma once

#include "maptable.h"
#include "readvalues.h"
#include "writevalues.h"

#include <QList>

// The table of a project's requests as a register map, in the columns a map
// is read in (mapColumns::exportHeader()): every read a line with access R,
// then every write a line with access W and its value; 0-based decimal
// addresses, each field as the request holds it. Read back with the default
// options it gives the same requests.
class registerMapWriter
{
public:
    static mapTable table(const QList<readValues> &reads, const QList<writeValues> &writes);
    // The columns that hold whole numbers (address, length).
    static QList<int> numberColumns();
};
