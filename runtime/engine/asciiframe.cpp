#include "asciiframe.h"

namespace Modbus {
namespace Ascii {

uint8_t lrc(const uint8_t *bytes, int length)
{
    uint8_t sum = 0;
    for (int i = 0; i < length; ++i)
        sum = uint8_t(sum + bytes[i]);
    return uint8_t(-sum);
}

int hexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

int encode(const uint8_t *adu, int length, char *text)
{
    static const char digits[] = "0123456789ABCDEF";
    int at = 0;
    text[at++] = FrameStart;
    const auto put = [&](uint8_t byte) {
        text[at++] = digits[byte >> 4];
        text[at++] = digits[byte & 0x0F];
    };
    for (int i = 0; i < length; ++i)
        put(adu[i]);
    put(lrc(adu, length));
    text[at++] = '\r';
    text[at++] = '\n';
    return at;
}

DecodeStatus decode(const char *text, int length, uint8_t *adu, int *aduLength)
{
    if (length < frameLength(MinimumAduLength) || text[0] != FrameStart || text[length - 2] != '\r'
        || text[length - 1] != '\n' || (length - 3) % 2 != 0)
        return DecodeStatus::InvalidFrame;
    const int bytes = (length - 3) / 2; // LRC included
    for (int i = 0; i < bytes; ++i) {
        const int high = hexValue(text[1 + 2 * i]);
        const int low = hexValue(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return DecodeStatus::InvalidFrame;
        adu[i] = uint8_t(high << 4 | low);
    }
    if (lrc(adu, bytes - 1) != adu[bytes - 1])
        return DecodeStatus::InvalidLrc;
    *aduLength = bytes - 1;
    return DecodeStatus::Ok;
}

} // namespace Ascii
} // namespace Modbus
