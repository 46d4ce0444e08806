#pragma once

// Line settings of the serial line: raw mode with the rate, byte size, parity
// and stop bits of a context.

#include <termios.h>
#include <vector>

namespace Modbus {

enum class RateKind {
    Standard, // set in the settings
    Arbitrary, // left to the arbitrary-rate interface
    Unknown, // not in the table: 9600 set instead
};

// Turns settings into raw mode (no line editing, echo, signals, translation
// or flow control; reads return at once) with byte size 5, 6 or 7 as given
// and 8 otherwise, one stop bit for 1 and two otherwise, parity 'N' none,
// 'E' even, anything else odd, parity checking on with parity. Sets the speed
// for rates of the table that have a constant, 9600 for rates not in it.
RateKind makeLineSettings(termios &settings, int baudRate, char parity, int dataBits, int stopBits);

// The rate the line runs at for a rate given: the rate itself when it is in
// the table, 9600 otherwise.
int effectiveBaudRate(int baudRate);

// The rates of the table, in ascending order.
std::vector<int> knownBaudRates();

} // namespace Modbus
