#pragma once

#include <QByteArray>
#include <QtGlobal>

// One frame as the listener found it on the line, before anyone has read
// what it says.
struct BusFrame
{
    enum class Kind {
        Good, // checksum right, at a length its function code implies
        ChecksumError, // the length its function code implies, the checksum wrong
        Truncated, // shorter than its function code implies, ended by silence or the next frame
        Unknown, // a whole frame (checksum right, or delimited) of no shape this listener knows
    };
    enum class Framing { Rtu, Ascii };
    // The sides that may have sent a good frame, by its shape alone.
    enum Role : quint8 { Request = 1, Reply = 2 };

    Kind kind = Kind::Good;
    Framing framing = Framing::Rtu;
    // As on the line: RTU with its CRC; ASCII from ':' through CR LF.
    QByteArray wire;
    // Address and PDU without the checksum, as far as they could be read.
    QByteArray adu;
    // Estimated arrival of the first and the last byte, steady clock, µs.
    qint64 startUs = 0;
    qint64 endUs = 0;
    quint8 roles = 0; // Request | Reply
};
