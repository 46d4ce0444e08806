#pragma once

// The receiving side of Modbus ASCII: turns the characters of a reply (':',
// two hexadecimal digits per byte, CR LF) into the bytes the engine's core
// reads in its three phases. The last byte of a frame, its LRC, is handed
// over only once CR LF has come, so a frame is known to end where its
// length says when the core has all of it.

#include "modbuscontext.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace Modbus {

class AsciiReceiver
{
public:
    // Starts over: the next frame begins at its ':'; anything before it is
    // line noise and skipped.
    void reset();

    // Reads characters from stream until a byte can be handed over, at most
    // for limit; wanted is the number of bytes the core still needs. 0, or
    // -1 with errno: the stream's, or InvalidAsciiFrame for a character the
    // frame cannot hold or a frame that ended (CR LF) before its length.
    template<typename Stream>
    int waitForData(ModbusContext *context, Stream &stream, const Timeout &limit, int wanted);
    // Hands over at most length decoded bytes; 0 once the stream was closed.
    ssize_t read(uint8_t *buffer, int length);
    // Whether the frame ended with CR LF right after the last byte handed over.
    bool endedAfterLastByte() const { return state == State::Ended && ready == 0 && !holding; }

private:
    // Decodes characters; false with InvalidAsciiFrame (said in debug mode)
    // on one the frame cannot hold.
    bool feed(const ModbusContext *context, const uint8_t *characters, int count);
    // Adds a byte for the core; false when the buffer is full.
    bool release(uint8_t byte);
    // Characters that complete wanted more bytes and the frame's end.
    int charactersFor(int wanted) const;

    enum class State { BeforeStart, Digits, LineFeed, Ended };
    static constexpr int BufferSize = FrameBufferSize;

    State state = State::BeforeStart;
    int highDigit = -1; // the first digit of a byte, -1 between bytes
    bool holding = false; // a byte decoded, handed over once the next one shows
    uint8_t held = 0;
    bool closed = false; // the stream ended
    uint8_t decoded[BufferSize];
    int start = 0;
    int ready = 0;
};

template<typename Stream>
int AsciiReceiver::waitForData(
    ModbusContext *context, Stream &stream, const Timeout &limit, int wanted)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline
        = Clock::now() + std::chrono::milliseconds(limit.milliseconds());
    while (ready == 0 && !closed) {
        if (state == State::Ended) {
            if (context->debug)
                fprintf(stderr, "ASCII frame ended before its length\n");
            errno = InvalidAsciiFrame;
            return -1;
        }
        const long long left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                  .count();
        if (left <= 0) {
            errno = ETIMEDOUT;
            return -1;
        }
        const int characters = std::min(charactersFor(wanted), BufferSize);
        if (stream.waitForData(
                context, Timeout {int(left / 1000), int(left % 1000) * 1000}, characters)
            == -1)
            return -1;
        uint8_t text[BufferSize];
        const ssize_t count = stream.read(context, text, characters);
        if (count < 0)
            return -1;
        if (count == 0)
            closed = true;
        else if (!feed(context, text, int(count)))
            return -1;
    }
    return 0;
}

} // namespace Modbus
