#pragma once

#include "optionrow.h"

#include <QString>

// The checks of the connection options that the register and the macro
// driver share, in the shape their option tables take.
namespace ConnectionChecks {

// "--address": a number, and a device address the line takes (0 to 247,
// over TCP 255 too): a request must reach only the device the user named,
// never the one the engine would keep when it refuses the address.
void deviceAddress(const QString &value, LineKind line, QString *lines);
// "--port" over TCP: a whole decimal number from 1 to 65535. The connection
// reads the port as a decimal number, so the check does too: 0x1F6 would
// pass as 502 and connect to port 0.
void tcpPort(const QString &value, LineKind line, QString *lines);
// "--baudrate": a number.
void baudRate(const QString &value, LineKind line, QString *lines);
// "--parity": N, O or E.
void parity(const QString &value, LineKind line, QString *lines);
// "--data_bit": 8.
void dataBits(const QString &value, LineKind line, QString *lines);
// "--stop_bit": 1 or 2.
void stopBits(const QString &value, LineKind line, QString *lines);

} // namespace ConnectionChecks
