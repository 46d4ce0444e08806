#include "asciireceiver.h"

#include "asciiframe.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Modbus {

void AsciiReceiver::reset()
{
    state = State::BeforeStart;
    highDigit = -1;
    holding = false;
    closed = false;
    start = 0;
    ready = 0;
}

ssize_t AsciiReceiver::read(uint8_t *buffer, int length)
{
    const int count = std::min(length, ready);
    memcpy(buffer, decoded + start, size_t(count));
    start += count;
    ready -= count;
    if (ready == 0)
        start = 0;
    return count;
}

int AsciiReceiver::charactersFor(int wanted) const
{
    const int bytes = std::max(0, wanted - ready - (holding ? 1 : 0));
    const int opening = state == State::BeforeStart ? 1 : 0;
    const int ending = state == State::LineFeed ? 1 : 2;
    return opening + 2 * bytes - (highDigit >= 0 ? 1 : 0) + ending;
}

bool AsciiReceiver::release(uint8_t byte)
{
    if (start + ready == BufferSize)
        return false;
    decoded[start + ready++] = byte;
    return true;
}

bool AsciiReceiver::feed(const ModbusContext *context, const uint8_t *characters, int count)
{
    for (int i = 0; i < count; ++i) {
        const uint8_t character = characters[i];
        bool fits = true;
        switch (state) {
        case State::BeforeStart:
            if (character == uint8_t(Ascii::FrameStart))
                state = State::Digits;
            break;
        case State::Digits: {
            const int digit = Ascii::hexValue(char(character));
            if (digit >= 0 && highDigit < 0) {
                highDigit = digit;
            } else if (digit >= 0) {
                fits = !holding || release(held);
                held = uint8_t(highDigit << 4 | digit);
                holding = true;
                highDigit = -1;
            } else {
                // CR after a whole number of bytes; anything else breaks the frame.
                fits = character == '\r' && highDigit < 0 && holding;
                state = State::LineFeed;
            }
            break;
        }
        case State::LineFeed:
            fits = character == '\n' && release(held);
            if (fits) {
                holding = false;
                state = State::Ended;
            }
            break;
        case State::Ended:
            // The start of whatever comes next: not this reply's.
            break;
        }
        if (!fits) {
            if (context->debug)
                fprintf(stderr, "Unexpected character 0x%.2X in an ASCII frame\n", character);
            errno = InvalidAsciiFrame;
            return false;
        }
    }
    return true;
}

} // namespace Modbus
