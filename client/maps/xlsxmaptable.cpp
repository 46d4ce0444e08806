#include "xlsxmaptable.h"

#include "xlsxdocument.h"
#include "xlsxpackagereader.h"

#include <QCoreApplication>

#include <memory>

bool xlsxMapTable::read(const QString &path, mapTable *table, QString *error)
{
    QXlsx::PackageReader workbook(path);
    if (!workbook.open()) {
        *error = workbook.errorString();
        return false;
    }
    const QStringList sheets = workbook.sheetNames();
    if (sheets.isEmpty()) {
        *error = QCoreApplication::translate("xlsxMapTable", "the workbook has no worksheet");
        return false;
    }
    const std::unique_ptr<QXlsx::SheetReader> sheet = workbook.openSheet(sheets.first());
    if (!sheet) {
        *error = workbook.errorString();
        return false;
    }
    const size_t most = size_t(mapTable::MaxLines) + 1;
    QXlsx::SheetRow row;
    while (sheet->nextRow(&row)) {
        mapLine line;
        line.number = row.number;
        for (const QXlsx::SheetCell &cell : row.cells) {
            while (line.cells.size() < cell.column - 1)
                line.cells << QString();
            line.cells << QString::fromUtf8(cell.text);
        }
        bool blank = true;
        for (const QString &cell : qAsConst(line.cells))
            blank = blank && cell.trimmed().isEmpty();
        if (blank)
            continue;
        if (table->lines.size() == most) {
            table->firstUnread = line.number;
            return true;
        }
        table->lines.push_back(std::move(line));
    }
    if (sheet->hasError()) {
        *error = sheet->errorString();
        return false;
    }
    return true;
}

bool xlsxMapTable::write(
    const QString &path, const mapTable &table, const QList<int> &numberColumns, QString *error)
{
    QXlsx::Document workbook;
    workbook.addSheet(QStringLiteral("Register map"));
    int row = 1;
    for (const mapLine &line : table.lines) {
        for (int column = 0; column < line.cells.size(); ++column) {
            const QString &text = line.cells.at(column);
            if (text.isEmpty())
                continue;
            bool whole = false;
            const qlonglong number = text.toLongLong(&whole);
            if (row > 1 && whole && numberColumns.contains(column))
                workbook.write(row, column + 1, double(number));
            else
                workbook.write(row, column + 1, text);
        }
        ++row;
    }
    if (!workbook.saveAs(path)) {
        *error = workbook.errorString();
        return false;
    }
    return true;
}
