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
    enum Kind {
        Nothing,
        TypedRead,
        RangeRead,
        BlockWrite,
        TypedWrite,
        SingleWrite, // one register with function 6
        TextRead,
        TextWrite,
        DeviceIdRead, // the identification objects (function 43/14)
    };
    enum Table { Holding, Input, Coils, DiscreteInputs };

    // Chooses the operation: the first operation option present, in the driver's
    // order, wins. The words of a typed write and of a "--data" block write are
    // read here; problems with them, and registers that would run past 65535,
    // append "Invalid parameters" lines to *errors (may be null). Register
    // values must already have passed the command-line checks. "--order"
    // with an operation of other values than 32- and 64-bit ones is an error
    // too: it would not change what is read or written.
    RegisterRequest(const OptionPairs &options, QString *errors);

    // Coils and discrete inputs are bits: 0 or 1 in place of a word.
    bool isBitTable() const { return table == Coils || table == DiscreteInputs; }

    // Loads the words of a "--load" block write. On failure *message holds
    // the whole message to print (the file's error, or the registers that
    // would run past 65535) and nothing may be sent.
    bool loadWords(QString *message);

    Kind kind = Nothing;
    Table table = Holding;
    ValueType type = ValueType::U16; // typed reads and writes
    ByteOrder order = ByteOrders::Default; // "--order"
    int deviceIdCode = 1; // "--read_device_id": 1 basic, 2 regular, 3 extended
    QString startText; // value of the operation option
    int start = 0; // first register
    int count = 0; // registers (bits) of a read, registers of a text
    QVector<quint16> words; // words of a write, 0 or 1 for coils
    QString display; // "--display": "HEX", "DEC" or empty
    int pause = 20; // "--fdelay", ms after each range request
    bool save = false; // "--save" given
    QString saveFile;
    bool load = false; // a block write from the "--load" file
    QString loadFile;
    QString format = QStringLiteral("BIN");

private:
    void checkOrder(const OptionPairs &options, QString *errors);
    void checkExtent(int registers, QString *errors) const;
};
