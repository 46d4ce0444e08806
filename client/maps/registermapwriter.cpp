#include "registermapwriter.h"

#include "mapcolumns.h"
#include "registertypes.h"

using namespace mapColumns;

namespace {

template<class Values> QStringList cellsOf(const Values &values)
{
    QStringList cells;
    for (int i = 0; i < Count; ++i)
        cells << QString();
    cells[Name] = values.desc;
    cells[Kind] = values.kind;
    cells[Address] = values.addr;
    cells[Type] = values.type;
    if (registerTypes::hasOrder(values.type))
        cells[Order] = values.order;
    cells[Length] = values.length;
    cells[Scale] = values.scaling.scale;
    cells[Offset] = values.scaling.offset;
    cells[Unit] = values.scaling.unit;
    return cells;
}

} // namespace

mapTable registerMapWriter::table(const QList<readValues> &reads, const QList<writeValues> &writes)
{
    mapTable table;
    table.lines.reserve(size_t(reads.size() + writes.size() + 1));
    table.lines.push_back({1, exportHeader()});
    for (const readValues &read : reads) {
        QStringList cells = cellsOf(read);
        cells[Format] = read.format;
        cells[Access] = QStringLiteral("R");
        table.lines.push_back({int(table.lines.size()) + 1, cells});
    }
    for (const writeValues &write : writes) {
        QStringList cells = cellsOf(write);
        cells[Access] = QStringLiteral("W");
        cells[Value] = write.value;
        if (write.single)
            cells[Function] = QStringLiteral("6");
        table.lines.push_back({int(table.lines.size()) + 1, cells});
    }
    return table;
}

QList<int> registerMapWriter::numberColumns()
{
    return {Address, Length};
}
