#include "registermapreader.h"

#include "mapcolumns.h"
#include "maplinereader.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// A request's place for the clash checks.
struct placed
{
    QString kind;
    int first = 0;
    int last = 0;
    int line = 0;
    QString name;
};

template<class Values> placed placeOf(const Values &values, int line)
{
    const int first = values.addr.toInt();
    return {values.kind, first, first + mapLineReader::span(values.type, values.length) - 1, line,
        values.desc};
}

void dropRefused(mapImport *result, const QSet<int> &lines)
{
    if (lines.isEmpty())
        return;
    auto &entries = result->entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                      [&lines](const mapEntry &entry) { return lines.contains(entry.line); }),
        entries.end());
}

} // namespace

mapImport registerMapReader::read(const mapTable &table, const mapOptions &options)
{
    mapImport result;
    if (table.lines.empty()) {
        result.problems.push_back({0, QString(), tr("the map is empty")});
        return result;
    }
    const mapLine &header = table.lines.front();
    QVector<int> cells(mapColumns::Count, -1);
    for (int i = 0; i < header.cells.size(); ++i) {
        const int column = mapColumns::columnOf(header.cells.at(i));
        if (column >= 0 && cells[column] < 0)
            cells[column] = i;
    }
    if (cells[mapColumns::Address] < 0) {
        result.problems.push_back({header.number, QString(),
            tr("no header: the first line names no address column (address, adres, register, "
               "rejestr)")});
        return result;
    }
    const mapLineReader lines(cells, header.cells, options);
    for (size_t i = 1; i < table.lines.size(); ++i)
        if (std::optional<mapEntry> entry = lines.read(table.lines[i], &result.problems))
            result.entries.push_back(std::move(*entry));
    if (table.firstUnread > 0)
        result.problems.push_back({table.firstUnread, QString(),
            tr("a map holds at most %1 lines; this line and those after it are not read")
                .arg(mapTable::MaxLines)});
    refuseDuplicateNames(&result);
    refuseOverlaps(&result);
    std::stable_sort(result.problems.begin(), result.problems.end(),
        [](const mapProblem &a, const mapProblem &b) { return a.line < b.line; });
    return result;
}

void registerMapReader::refuseDuplicateNames(mapImport *result)
{
    QHash<QString, int> reads;
    QHash<QString, int> writes;
    QSet<int> refused;
    const QString column = mapColumns::nameOf(mapColumns::Name);
    const auto check = [&](QHash<QString, int> &names, const QString &name, int line) {
        if (name.isEmpty())
            return;
        const auto found = names.constFind(name);
        if (found == names.constEnd()) {
            names.insert(name, line);
            return;
        }
        result->problems.push_back(
            {line, column, tr("%1 is already the name on line %2").arg(name).arg(*found)});
        refused.insert(line);
    };
    for (const mapEntry &entry : result->entries) {
        if (entry.read)
            check(reads, entry.read->desc, entry.line);
        if (entry.write)
            check(writes, entry.write->desc, entry.line);
    }
    dropRefused(result, refused);
}

void registerMapReader::refuseOverlaps(mapImport *result)
{
    QSet<int> refused;
    const QString column = mapColumns::nameOf(mapColumns::Address);
    const auto check = [&](std::vector<placed> places) {
        std::stable_sort(places.begin(), places.end(), [](const placed &a, const placed &b) {
            return a.kind != b.kind ? a.kind < b.kind : a.first < b.first;
        });
        const placed *reaching = nullptr; // of the kind, the one that reaches furthest
        for (const placed &place : places) {
            if (reaching && reaching->kind == place.kind && place.first <= reaching->last) {
                result->problems.push_back({place.line, column,
                    tr("registers %1 to %2 overlap those of %3 on line %4")
                        .arg(place.first)
                        .arg(place.last)
                        .arg(reaching->name.isEmpty() ? tr("the request") : reaching->name)
                        .arg(reaching->line)});
                refused.insert(place.line);
                continue;
            }
            if (!reaching || reaching->kind != place.kind || place.last > reaching->last)
                reaching = &place;
        }
    };
    std::vector<placed> reads;
    std::vector<placed> writes;
    for (const mapEntry &entry : result->entries) {
        if (entry.read)
            reads.push_back(placeOf(*entry.read, entry.line));
        if (entry.write)
            writes.push_back(placeOf(*entry.write, entry.line));
    }
    check(reads);
    check(writes);
    dropRefused(result, refused);
}
