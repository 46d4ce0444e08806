#pragma once

#include "registervalue.h"

#include <QString>
#include <QVector>

class OptionPairs;

// The one operation of a register driver run, chosen and read from the command
// line: which registers, how many, the words of a write and how results are
// shown or saved. It is complete, data included, before a line is opened.
struct RegisterRequest
{
    enum Kind { Nothing, TypedRead, RangeRead, BlockWrite, TypedWrite };
    enum Table { Holding, Input };

    // Chooses the operation: the first operation option present, in the driver's
    // order, wins. The words of a typed write and of a "--data" block write are
    // read here; problems with them, and registers that would run past 65535,
    // append "Invalid parameters" lines to *errors (may be null). Register
    // values must already have passed the command-line checks.
    RegisterRequest(const OptionPairs &options, QString *errors);

    // Loads the words of a "--load" block write. On failure *message holds
    // the whole message to print (the file's error, or the registers that
    // would run past 65535) and nothing may be sent.
    bool loadWords(QString *message);

    Kind kind = Nothing;
    Table table = Holding;
    ValueType type = ValueType::U16; // typed reads and writes
    QString startText; // value of the operation option
    int start = 0; // first register
    int count = 0; // registers of a read
    QVector<quint16> words; // words of a write
    QString display; // "--display": "HEX", "DEC" or empty
    int pause = 20; // "--fdelay", ms after each range request
    bool save = false; // "--save" given
    QString saveFile;
    bool load = false; // a block write from the "--load" file
    QString loadFile;
    QString format = QStringLiteral("BIN");

private:
    void checkExtent(int registers, QString *errors) const;
};
