#pragma once

#include "bustransaction.h"
#include "filesaving.h"
#include "wallclock.h"

#include <QString>

// Where the transactions of a listening go: one line each on standard
// output, and one CSV row per frame to a file, written as each transaction
// completes. The CSV file goes by the tool set's saving rules: a regular
// file is replaced only when the listening ends (until then the rows go to
// a new file beside it), a FIFO or a device is written into; "-" is
// standard output.
class TransactionOutput
{
public:
    // lines: print the transaction lines; hex: with the frames' bytes.
    TransactionOutput(const WallClock &clock, bool lines, bool hex);

    // Opens the CSV file and writes its header row; false with the message
    // (markup) in *error.
    bool openCsv(const QString &fileName, QString *error);
    // Prints the transaction's line and writes its rows. Once a row cannot
    // be written, the CSV file keeps the rows before it whole and takes no
    // more, and this returns false with the message in *error.
    bool write(const BusTransaction &transaction, QString *error);
    // Completes the CSV file, if any; false with the message in *error.
    bool close(QString *error);

private:
    bool writeCsv(const QString &rows, QString *error);
    QString csvFailure(const QString &reason) const;

    const WallClock clock;
    const bool lines;
    const bool hex;
    QString csvName;
    FileSaving::Stream csv;
    bool csvOpen = false;
    qint64 csvWhole = 0; // bytes of the whole rows written
};
