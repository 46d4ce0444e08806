#pragma once

#include "mapoptions.h"
#include "maptable.h"

#include <QByteArray>
#include <QChar>

// Register maps as CSV text, as spreadsheet programs write it: fields
// separated by commas or semicolons (Polish ones write semicolons), quoted
// with double quotes where they hold a separator, a quote or a line break
// (doubled quotes inside), lines ended by CR LF, LF or CR; UTF-8 with or
// without a byte-order mark, or Windows-1250.
class csvMapTable
{
public:
    struct decoded
    {
        mapTable table;
        QChar separator;
        bool windows1250 = false;
    };

    // The table of the bytes. Detect takes a semicolon as the separator when
    // the first line holds more of them than commas, and Windows-1250 when
    // the bytes are not UTF-8.
    static decoded read(const QByteArray &bytes, const mapOptions &options);
    // UTF-8 with a byte-order mark (so that spreadsheet programs take it as
    // UTF-8), comma-separated, CR LF.
    static QByteArray write(const mapTable &table);
};
