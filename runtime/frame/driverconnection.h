#pragma once

#include "engine/modbus.h"
#include "linekind.h"

#include <QString>
#include <QStringList>

class OptionPairs;

// The cause of a request of context that failed with the error code, in
// the terms of the engineer who waits for the device: a reply that timed
// out is "The device did not answer within N ms" or "The device's reply was
// incomplete after N ms"; any other code has the engine's text.
QString requestFailureText(const ModbusContext *context, int code);
// Prints requestFailureText() as one line on standard error: the cause of
// an operation that failed after its command line was accepted.
void printEngineError(const ModbusContext *context, int code);

// Prints "Connection fails: " and the cause on standard error: the text of
// the error code, or "Timed out while connecting" for a connection that was
// not made within its time-out; for a serial device (empty for TCP) refused
// for lack of permission, a hint that names the group whose members may
// open it and the command that adds the user to it.
void printConnectionFailure(int error, const QString &serialDevice);

// The connection of a register or macro driver, made from its options (see
// LineSettings): a TCP context when "--ip" is present (port "--port",
// default 502; address 255), otherwise a serial context on "--port" with
// "--baudrate" (115200), "--parity" (N), "--data_bit" (8) and "--stop_bit"
// (1); address 1. "--framing" and "--tls" choose the gateway and TLS lines.
// "--address" replaces the default device address and "--verbose 1"
// switches the engine's trace on. The line is closed and the context freed
// on destruction.
class DriverConnection
{
public:
    DriverConnection() = default;
    ~DriverConnection();
    DriverConnection(const DriverConnection &) = delete;
    DriverConnection &operator=(const DriverConnection &) = delete;

    // Creates the context and connects. On failure prints "Unable to create
    // the Modbus context" or the engine's error text alone on standard
    // error and returns false. A serial line refused for lack of permission
    // adds a hint naming the group that may open the device and the command
    // that adds the user to it.
    bool open(const OptionPairs &options);
    ModbusContext *context() const { return modbusContext.get(); }

    // Whether the options reach the device over the network.
    static bool isTcp(const OptionPairs &options);
    static LineKind lineKind(const OptionPairs &options);

    // The options the connection reads.
    static QStringList optionNames();
    // The longest a run of the options' line takes for its connect and one
    // request (Modbus::requestLimitMs); 0 when the options make no context,
    // which a driver refuses at once.
    static int requestLimitMs(const OptionPairs &options);

private:
    Modbus::ContextPtr modbusContext;
    bool connected = false;
};
