#include "mapimport.h"

QString mapProblem::text() const
{
    const QString where = line > 0 ? tr("Line %1").arg(line) : tr("File");
    return column.isEmpty() ? where + QStringLiteral(": ") + reason
                            : where + QStringLiteral(", ") + column + QStringLiteral(": ") + reason;
}

int mapImport::readCount() const
{
    int count = 0;
    for (const mapEntry &entry : entries)
        count += entry.read ? 1 : 0;
    return count;
}

int mapImport::writeCount() const
{
    int count = 0;
    for (const mapEntry &entry : entries)
        count += entry.write ? 1 : 0;
    return count;
}
