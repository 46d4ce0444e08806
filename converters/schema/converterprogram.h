#pragma once

#include "configdatabase.h"

#include <QString>

#include <functional>

struct DatabaseKind;

// The life cycle both converters share: scan the options, print the help,
// report missing options, open the database, find the kind, run the
// conversion, report "Done" or "Error".
struct ConverterProgram
{
    // Works on the database for one kind with the workbook named by the file
    // option; false, with *error set, when it failed.
    using Work = std::function<bool(ConfigDatabase &database, const DatabaseKind &kind,
        const QString &fileName, QString *error)>;

    QString example; // the first help line
    QString fileOption; // "--save" or "--load"
    QString fileDescription; // its help text
    ConfigDatabase::Access access;
    QString unknownKindWarning; // "%1" is the "--type" value
    Work work;

    // Runs the program; the exit status: 0 for help, an unknown kind and a
    // conversion done, -1 for unknown or missing options and any failure. Memory running
    // out ends in "Error" as well, with the database left as it was.
    int run(int argc, char *argv[]) const;
};
