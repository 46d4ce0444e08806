#pragma once

#include "monitorcsvreader.h"
#include "monitortransaction.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVector>

// Turns what qelDrvMonitor writes on standard output with "--csv -" into
// transactions: its header row first, then one row per frame, written as
// each transaction completes. A request row with status OK is followed by
// its reply's row and the two make one transaction; a request row with
// another status (no reply, broadcast, listening ended) is one alone, and
// so is a row without a direction (a frame that made no sense) and a reply
// whose request was not heard.
class monitorOutputReader
{
public:
    // The transactions that bytes completes.
    QVector<monitorTransaction> feed(const QByteArray &bytes);
    // The end of the output: a request still waiting for its reply row is a
    // transaction of its own; returns it, if any. incompleteRow tells whether
    // the output ended inside a row.
    QVector<monitorTransaction> finish(bool *incompleteRow = nullptr);

    // The header row as it came (with its line end); empty before it came.
    QByteArray header() const { return headerRow; }
    // Whether the header names the fields this reader knows, in their order.
    bool headerKnown() const;
    // Rows dropped for being too long to be the monitor's.
    int droppedRows() const { return csv.droppedRecords(); }

    // The header row qelDrvMonitor writes.
    static QByteArray expectedHeader();

private:
    void take(const QByteArray &record, QVector<monitorTransaction> *done);
    // A transaction of rows whose first row has fields first and last row
    // has the status.
    monitorTransaction make(
        const QByteArray &rows, const QStringList &first, const QString &status);
    // The one copy of a function's name, shared by all its transactions.
    QString shared(const QString &function);

    static constexpr int MaxSharedFunctions = 1000;

    monitorCsvReader csv;
    QByteArray headerRow;
    QByteArray waitingRequest; // a request row with status OK, its reply row not yet read
    QStringList waitingFields;
    QSet<QString> functions;
};
