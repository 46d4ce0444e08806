#pragma once

#include <cstdint>

// Modbus ASCII framing: ':', then every byte of the address, the PDU and the
// LRC as two hexadecimal digits (upper case when written), then CR LF.
namespace Modbus {
namespace Ascii {

constexpr char FrameStart = ':';
// Address and function code at least.
constexpr int MinimumAduLength = 2;

// Characters of the frame of an address and PDU of aduLength bytes.
constexpr int frameLength(int aduLength)
{
    return 1 + 2 * (aduLength + 1) + 2;
}

// Two's complement of the 8-bit sum of the bytes.
uint8_t lrc(const uint8_t *bytes, int length);

// Value of one hexadecimal digit, either case; -1 for any other character.
int hexValue(char digit);

// Writes the frame of the address and PDU in adu into text, which holds
// frameLength(length) characters; returns that length.
int encode(const uint8_t *adu, int length, char *text);

enum class DecodeStatus {
    Ok,
    InvalidFrame, // no ':' first or CR LF last, an odd count or a non-hex digit, too short
    InvalidLrc, // well formed, but the LRC is not that of the bytes
};

// Decodes a whole frame, ':' through CR LF. adu must hold (length - 3) / 2
// bytes; on Ok it holds the address and PDU, without the LRC, and
// *aduLength their count.
DecodeStatus decode(const char *text, int length, uint8_t *adu, int *aduLength);

} // namespace Ascii
} // namespace Modbus
