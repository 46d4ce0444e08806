#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One transaction as qelDrvMonitor reported it: a request with its reply, a
// request that had none, a reply whose request was not heard, or a frame
// that made no sense. It is kept as the monitor's CSV rows, exactly as they
// came, so that saving writes what the monitor wrote; what the filter asks
// (address, function, failed) is taken out once, the rest is read from the
// rows when shown.
struct monitorTransaction
{
    // The columns a transaction shows.
    enum Column {
        Time,
        Address,
        Function,
        Start,
        Count,
        Request, // what was asked: values written, a macro, an object
        Reply, // what was answered: values read
        ResponseMs,
        Status,
        RequestFrame, // hexadecimal bytes
        ReplyFrame, // the reply's bytes, or those of a frame that answers nothing
        ColumnCount
    };

    // The fields of the monitor's CSV rows, in the order of its header.
    enum Field {
        TimeField,
        DirectionField,
        AddressField,
        FunctionField,
        StartField,
        CountField,
        ValuesField,
        ResponseField,
        StatusField,
        HexField,
        FieldCount
    };

    QByteArray rows; // one or two CSV records, each with its line end
    int address = -1; // -1 for a frame of no known address
    QString function; // empty for a frame of no known function
    bool failed = false;

    // The texts of the columns, read from the rows; the time as the monitor
    // wrote it (ISO 8601 with milliseconds and offset).
    QStringList columns() const;

    // Whether a row's status tells a failure: anything but OK, a broadcast
    // and a request the listening ended before its reply could come.
    static bool isFailure(const QString &status);
    // The monitor's words for a request row and a reply row.
    static QString requestDirection();
    static QString replyDirection();
    static QString okStatus();
};

Q_DECLARE_METATYPE(monitorTransaction)
