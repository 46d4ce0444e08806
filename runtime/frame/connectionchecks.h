#pragma once

#include "optionrow.h"

#include <QString>

class OptionPairs;

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
// "--data_bit": 8, and 7 with ASCII framing.
void dataBits(const QString &value, LineKind line, QString *lines);
// "--stop_bit": 1 or 2.
void stopBits(const QString &value, LineKind line, QString *lines);
// "--framing": RTU or ASCII, and none with "--tls", which carries MBAP.
void framing(const QString &value, LineKind line, QString *lines);
// "--cert", "--key", "--ca": with "--tls", a regular file that can be read,
// of at most 1 MiB (a FIFO, a directory or a missing file is named with the
// reason); without it, refused, since the request would go out in the clear.
void tlsFile(const QString &value, LineKind line, QString *lines);

// The connection options the line of the options needs and that are
// missing: "--port" and "--address" on a serial line, "--address" through
// a gateway (RTU and ASCII addresses have no "any unit"), and the TLS ones.
void missingOptions(const OptionPairs &options, QString *lines);
// With "--tls": "--ip", "--cert", "--key" and "--ca" when missing.
void missingTlsOptions(const OptionPairs &options, QString *lines);

} // namespace ConnectionChecks
