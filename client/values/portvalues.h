#pragma once

#include "valuefields.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// A communication port of a project: a serial line or a TCP connection, with
// the device address and the description every port has. The fields are
// texts as the project file keeps them; a value made without fields holds
// the texts of a new row. Whether the port is the active one belongs to its
// row, not to its values.
//
// Beside RTU on a serial line and MBAP over TCP a port may carry ASCII
// frames (with 7 data bits and a parity), RTU or ASCII frames through a
// serial gateway, or MBAP inside TLS. The project file holds their keys
// only where they differ from those defaults, so a port without them is
// written as it always was.
struct portValues
{
    enum Kind { Serial, Tcp };

    Kind kind = Serial;
    QString com = QStringLiteral("COM10"); // serial line: the port's name
    QString baudrate = QStringLiteral("115200"); // serial line
    QString ip = QStringLiteral("192.168.1.1"); // TCP connection: the device's address
    QString port = QStringLiteral("502"); // TCP connection
    QString addr = QStringLiteral("0"); // device (slave) address
    QString desc = QStringLiteral("desc");
    // "RTU" or "ASCII"; empty: the line's own framing (RTU on a serial line,
    // MBAP over TCP).
    QString framing;
    QString dataBits = QStringLiteral("8"); // serial line: 7 or 8
    QString parity = QStringLiteral("N"); // serial line: N, E or O
    bool tls = false; // TCP connection: MBAP inside TLS, no framing
    QString certificate; // TLS: the client's PEM files and the authorities'
    QString privateKey;
    QString authorities;
    // The requests go through one driver per program that keeps the line
    // open ("--serve") instead of a driver run each.
    bool keepOpen = false;

    // "RTU", "ASCII", "MBAP" or "TLS", and a serial line's byte form
    // ("8N1"): what a row shows of the line at a glance.
    QString lineText() const;

    // The port of a project file's object: "type" "RTU" is a serial line,
    // "TCP" a TCP connection, anything else no port. A missing key gives the
    // empty text; the keys of the other lines ("framing", "databits",
    // "parity"; "framing", "tls" true, "cert", "key", "ca") their defaults,
    // and "keepopen" true keeps the line open.
    static std::optional<portValues> fromJson(const QJsonObject &object);
    // The object of the project file without "active": the kind's keys and
    // "type", and the keys of the other lines where they are not defaults;
    // "keepopen" only when it is on.
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, baudrate or port, addr,
    // and com or ip, and of the other lines' fields that are not defaults,
    // and whether the line is kept open.
    QString fingerprint() const;
    // The port part of a driver's arguments: "--address", addr, then
    // "--port" and the serial device in the Windows device namespace
    // ("\\.\" + com) and "--baudrate", baudrate; or "--ip", ip, "--port",
    // port. Then the other lines' options where they are not defaults:
    // "--framing", "--data_bit", "--parity"; "--framing", or "--tls" with
    // "--cert", "--key" and "--ca".
    QStringList arguments() const;
    // The positions in arguments() of file names, which a command line's
    // text writes in double quotes: they may hold blanks.
    QList<int> fileArguments() const;
    // The text fields with their keys in the project file, those that go
    // to a driver marked so (valueFields checks them).
    QVector<valueField> fields() const;
};
