#pragma once

#include "engine/modbus.h"
#include "linekind.h"

#include "optionpairs.h"

#include <QString>
#include <QStringList>

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

// The connection of a register or macro driver, made from its line options
// (see LineSettings): a TCP context when "--ip" is present (port "--port",
// default 502; address 255), otherwise a serial context on "--port" with
// "--baudrate" (115200), "--parity" (N), "--data_bit" (8) and "--stop_bit"
// (1); address 1. "--framing" and "--tls" choose the gateway and TLS lines.
// "--address" replaces the default device address. A one-shot run opens it
// for its one request; a serving driver keeps it open from request to
// request. The line is closed and the context freed on destruction.
class DriverConnection
{
public:
    // lineOptions: the command line the line is taken from.
    explicit DriverConnection(const OptionPairs &lineOptions);
    ~DriverConnection();
    DriverConnection(const DriverConnection &) = delete;
    DriverConnection &operator=(const DriverConnection &) = delete;

    // The connected context for a request of requestOptions, whose
    // "--verbose 1" switches the engine's trace on for it. The line is
    // opened first when it is not open, and opened again when its peer
    // closed it, its serial device went away or, on a network line, the
    // last request left it out of step (a late reply could still come; a
    // new connection, as a one-shot run has, is free of it). Nothing is ever
    // sent again. Null after printing why the line could not be opened:
    // "Unable to create the Modbus context" or the engine's error text
    // alone on standard error; a serial line refused for lack of permission
    // adds a hint naming the group that may open the device and the command
    // that adds the user to it.
    ModbusContext *connect(const OptionPairs &requestOptions);
    // Closes the line; the next connect() opens it again.
    void close();
    // Every engine wait of the line ends at once, with ECANCELED, once
    // descriptor is readable (-1: none).
    void setCancelDescriptor(int descriptor);

    // Whether the options reach the device over the network.
    static bool isTcp(const OptionPairs &options);
    static LineKind lineKind(const OptionPairs &options);
    // The options that choose the line and the device on it: a serving
    // driver takes them once, on its command line, and never in a request.
    static QStringList lineOptionNames();

    // The options the connection reads.
    static QStringList optionNames();
    // The longest a run of the options' line takes for its connect and one
    // request (Modbus::requestLimitMs); 0 when the options make no context,
    // which a driver refuses at once.
    static int requestLimitMs(const OptionPairs &options);

private:
    // Whether the open line can carry the next request as it is.
    bool usable();
    bool open(bool verbose);

    OptionPairs lineOptions;
    Modbus::ContextPtr modbusContext;
    bool connected = false;
    int cancelDescriptor = -1;
};
