#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// A communication port of a project: a serial line or a TCP connection, with
// the device address and the description every port has. The fields are
// texts as the project file keeps them; a value made without fields holds
// the texts of a new row. Whether the port is the active one belongs to its
// row, not to its values.
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

    // The port of a project file's object: "type" "RTU" is a serial line,
    // "TCP" a TCP connection, anything else no port. A missing key gives the
    // empty text.
    static std::optional<portValues> fromJson(const QJsonObject &object);
    // The object of the project file without "active": the kind's keys and
    // "type".
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, baudrate or port, addr,
    // and com or ip.
    QString fingerprint() const;
    // The port part of a driver's arguments: "--address", addr, then
    // "--port" and the serial device in the Windows device namespace
    // ("\\.\" + com) and "--baudrate", baudrate; or "--ip", ip, "--port",
    // port.
    QStringList arguments() const;
};
