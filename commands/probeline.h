#pragma once

#include "engine/modbus.h"
#include "linesettings.h"

#include <QString>

// How the waits of a probe's line end: the response time-out (0: the
// engine's) and a descriptor that ends every wait once readable (-1: none).
struct ProbeSettings
{
    int responseTimeoutMs = 0;
    int cancelDescriptor = -1;
};

// One line opened for a probe of a device: a serial line with no parity, 8
// data bits, 1 stop bit, or any line given. The line is closed and the
// context freed when the object goes, whatever happened in between, so a
// failed probe never leaves the port open or a context allocated.
class ProbeLine
{
public:
    // Creates the context for the port name ("\\.\NAME" opens /dev/NAME) and
    // baud rate, with the settings' waits; isCreated() tells whether the
    // engine accepted them.
    ProbeLine(const QString &port, int baudRate, const ProbeSettings &settings = ProbeSettings());
    ProbeLine(const LineSettings &line, const ProbeSettings &settings);
    ~ProbeLine();
    ProbeLine(const ProbeLine &) = delete;
    ProbeLine &operator=(const ProbeLine &) = delete;

    bool isCreated() const { return context != nullptr; }
    ModbusContext *modbusContext() const { return context.get(); }
    // Opens the line; false when it cannot be opened or set up.
    bool connect();

private:
    Modbus::ContextPtr context;
    bool connected = false;
};
