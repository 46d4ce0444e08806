#pragma once

#include "engine/modbus.h"
#include "linekind.h"

#include <QString>

class OptionPairs;

// How a program reaches a device: the engine line and its settings, taken
// from a driver's options or set by a scanner for each probe.
struct LineSettings
{
    LineKind kind = LineKind::Serial;
    QString device; // serial lines: the device name as given
    int baudRate = 115200;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    QString host; // network lines: a dotted IPv4 address
    int port = 502;
    QString certificate; // TLS: the client's PEM files and the authorities'
    QString privateKey;
    QString authorities;

    // The line the options choose: "--tls" TLS; "--ip" MBAP, or with
    // "--framing RTU" or "ASCII" those frames through a gateway; otherwise a
    // serial line with RTU, or ASCII with "--framing ASCII".
    static LineKind kindOf(const OptionPairs &options);
    // The settings of a driver's options. Connection options are read as
    // unsigned decimal numbers; absent ones keep their defaults ("--port"
    // 502 over TCP, 802 with TLS; 115200 baud, N, 8, 1).
    static LineSettings fromOptions(const OptionPairs &options);

    // An RTU serial line on device at baudRate, 8N1.
    static LineSettings serial(const QString &device, int baudRate);

    // The device address a context starts with unless one is given: 255 (any
    // unit) with MBAP, 1 with RTU and ASCII addresses.
    int defaultAddress() const;
    // A new context on the line; null when the engine refuses the settings
    // (it printed why, where it does).
    Modbus::ContextPtr createContext() const;
};
