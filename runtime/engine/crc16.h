#pragma once

#include <cstdint>

namespace Modbus {

// CRC-16 of an RTU frame (reflected polynomial 0xA001, start 0xFFFF). On the
// wire the low-order byte goes first.
uint16_t crc16(const uint8_t *bytes, int length);

// Whether the last two bytes of frame are the CRC of the bytes before them;
// false for a frame shorter than three bytes.
bool hasValidCrc(const uint8_t *frame, int length);

} // namespace Modbus
