#include "crc16.h"

namespace Modbus {

namespace {

struct CrcTable
{
    uint16_t entries[256];

    constexpr CrcTable()
        : entries()
    {
        for (int byte = 0; byte < 256; ++byte) {
            uint16_t crc = uint16_t(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
            entries[byte] = crc;
        }
    }
};
constexpr CrcTable crcTable;

} // namespace

uint16_t crc16(const uint8_t *bytes, int length)
{
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < length; ++i)
        crc = uint16_t((crc >> 8) ^ crcTable.entries[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

bool hasValidCrc(const uint8_t *frame, int length)
{
    if (length < 3)
        return false;
    const uint16_t crc = crc16(frame, length - 2);
    return frame[length - 2] == (crc & 0xFF) && frame[length - 1] == (crc >> 8);
}

} // namespace Modbus
