#pragma once

#include "mapimport.h"
#include "mapoptions.h"
#include "maptable.h"

#include <QCoreApplication>

// Reads a register map's table into requests: the first line is the header
// that names the columns (unknown ones are left out), every other line one
// request or a read and a write. Besides the checks of each line, a name
// may stand for one read and one write only, and no two reads (or writes)
// of one kind may share a register. The first line of a clash is taken,
// the later ones are told as problems; nothing is added for a line with a
// problem.
class registerMapReader
{
    Q_DECLARE_TR_FUNCTIONS(registerMapReader)

public:
    static mapImport read(const mapTable &table, const mapOptions &options);

private:
    static void refuseDuplicateNames(mapImport *result);
    static void refuseOverlaps(mapImport *result);
};
