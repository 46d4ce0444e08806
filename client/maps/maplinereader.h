#pragma once

#include "mapcolumns.h"
#include "mapimport.h"
#include "mapoptions.h"
#include "maptable.h"

#include <QCoreApplication>
#include <QVector>

// Reads one line of a register map into its requests, checking every field
// against the others: the type against the kind, the order, the length of
// a text, the format against the type, the scaling, the access against the
// kind, the address and the registers the value takes within 0..65535.
// Every problem of the line is told; a line with one gives no requests.
class mapLineReader
{
    Q_DECLARE_TR_FUNCTIONS(mapLineReader)

public:
    // cells: the cell of each column (mapColumns::Column), -1 when the map
    // has none; headers: the header text of each cell.
    mapLineReader(const QVector<int> &cells, const QStringList &headers, const mapOptions &options);

    std::optional<mapEntry> read(const mapLine &line, std::vector<mapProblem> *problems) const;

    // The registers (or bits) a request takes.
    static int span(const QString &type, const QString &length);

private:
    QString cell(const mapLine &line, mapColumns::Column column) const;
    QString header(mapColumns::Column column) const;
    // A number of the scale, offset or value with its decimal mark checked
    // and a comma made a point; nothing (and the problem told) otherwise.
    std::optional<QString> decimal(
        const mapLine &line, mapColumns::Column column, std::vector<mapProblem> *problems) const;

    QVector<int> cells;
    QStringList headers;
    mapOptions options;
};
