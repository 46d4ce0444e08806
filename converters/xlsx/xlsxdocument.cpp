#include "xlsxdocument.h"

#include "xlsxpackagereader.h"
#include "xlsxpackagewriter.h"
#include "xlsxworksheet.h"

#include <QSaveFile>

namespace QXlsx {

Document::Document() = default;

Document::Document(const QString &xlsxName)
{
    PackageReader reader(xlsxName);
    loaded = reader.read(&sheets);
    if (!loaded) {
        error = reader.errorString();
        sheets.clear();
    }
    current = sheets.empty() ? nullptr : sheets.front().get();
}

Document::~Document() = default;

static bool isValidSheetName(const QString &name)
{
    if (name.isEmpty() || name.size() > 31 || name.startsWith(QLatin1Char('\''))
        || name.endsWith(QLatin1Char('\'')))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringLiteral(":\\/?*[]").contains(c))
            return false;
    }
    return true;
}

bool Document::addSheet(const QString &name)
{
    QString sheetName = name;
    for (int n = int(sheets.size()) + 1; sheetName.isEmpty(); ++n) {
        const QString candidate = QStringLiteral("Sheet%1").arg(n);
        if (!sheetNames().contains(candidate, Qt::CaseInsensitive))
            sheetName = candidate;
    }
    if (!isValidSheetName(sheetName) || sheetNames().contains(sheetName, Qt::CaseInsensitive))
        return false;
    sheets.push_back(std::make_unique<Worksheet>(sheetName));
    current = sheets.back().get();
    return true;
}

bool Document::selectSheet(const QString &name)
{
    for (const auto &sheet : sheets) {
        if (sheet->sheetName() == name) {
            current = sheet.get();
            return true;
        }
    }
    return false;
}

QStringList Document::sheetNames() const
{
    QStringList names;
    for (const auto &sheet : sheets)
        names.append(sheet->sheetName());
    return names;
}

bool Document::write(int row, int column, const QVariant &value, const Format &)
{
    if (!current && !addSheet())
        return false;
    return current->write(row, column, value);
}

bool Document::write(const QString &cell, const QVariant &value, const Format &format)
{
    const CellReference reference(cell);
    return reference.isValid() && write(reference.row(), reference.column(), value, format);
}

QVariant Document::read(int row, int column) const
{
    return current ? current->read(row, column) : QVariant();
}

QVariant Document::read(const QString &cell) const
{
    const CellReference reference(cell);
    return reference.isValid() ? read(reference.row(), reference.column()) : QVariant();
}

CellRange Document::dimension() const
{
    return current ? current->dimension() : CellRange();
}

bool Document::saveAs(const QString &xlsName)
{
    // A workbook needs at least one worksheet to open in spreadsheet programs.
    Worksheet blank(QStringLiteral("Sheet1"));
    QVector<const Worksheet *> parts;
    for (const auto &sheet : sheets)
        parts.append(sheet.get());
    if (parts.isEmpty())
        parts.append(&blank);
    QStringList names;
    for (const Worksheet *sheet : qAsConst(parts))
        names.append(sheet->sheetName());

    QSaveFile file(xlsName);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    PackageWriter writer(&file, PackageWriter::Strings::Shared);
    bool ok = writer.begin(names);
    for (const Worksheet *sheet : qAsConst(parts)) {
        ok = ok && writer.beginSheet(sheet->dimension());
        const Worksheet::Rows &rows = sheet->rows();
        for (auto row = rows.cbegin(); ok && row != rows.cend(); ++row) {
            writer.beginRow(row.key());
            for (auto cell = row->cbegin(); cell != row->cend(); ++cell) {
                const QVariant &value = cell.value();
                if (value.userType() == QMetaType::QString)
                    writer.writeText(cell.key(), value.toString());
                else if (value.userType() == QMetaType::Bool)
                    writer.writeBoolean(cell.key(), value.toBool());
                else
                    writer.writeNumber(cell.key(), value.toDouble());
            }
            ok = writer.endRow();
        }
        ok = ok && writer.endSheet();
    }
    ok = ok && writer.finish();
    if (!ok) {
        error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace QXlsx
