#pragma once

#include <cstdint>

// Timing of a serial line: how long a character takes and how long a silence
// ends an RTU frame.
namespace Modbus {

// Bits of one character: start bit, data bits, a parity bit unless parity is
// 'N', and one stop bit for 1, two otherwise.
int characterBits(int dataBits, char parity, int stopBits);

// Microseconds one character takes at the rate the line runs at for the
// rate given (effectiveBaudRate()).
int64_t characterMicroseconds(int baudRate, int dataBits, char parity, int stopBits);

// The silence that ends an RTU frame: 3.5 characters, and 1750 µs at rates
// above 19200 baud, where the characters would make it too short to time.
int64_t frameSilenceMicroseconds(int baudRate, int dataBits, char parity, int stopBits);

} // namespace Modbus
