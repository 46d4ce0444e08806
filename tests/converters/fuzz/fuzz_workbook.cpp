// libFuzzer target: the workbook reader on a package whose worksheet and
// shared strings come from the input (split at the first NUL byte), read
// whole as QXlsx::Document reads it and row by row as qelExelRd does.

#include "packagemaker.h"
#include "xlsxdocument.h"
#include "xlsxpackagereader.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    const int split = input.indexOf('\0');
    const QByteArray sheet = split < 0 ? input : input.left(split);
    const QByteArray strings = split < 0 ? QByteArray() : input.mid(split + 1);
    const QString fileName = dir.filePath(QStringLiteral("fuzz.xlsx"));
    if (!PackageMaker::write(fileName, PackageMaker::singleSheet(sheet, strings)))
        return 0;

    QXlsx::Document document(fileName);
    document.dimension();
    QXlsx::PackageReader reader(fileName);
    if (reader.open()) {
        const std::unique_ptr<QXlsx::SheetReader> rows = reader.openSheet(QStringLiteral("Sheet1"));
        QXlsx::SheetRow row;
        while (rows && rows->nextRow(&row)) {
            for (const QXlsx::SheetCell &cell : row.cells)
                cell.value();
        }
    }
    return 0;
}
