// Modbus ASCII on a serial line and on TCP: the address and PDU of an RTU
// frame, with an LRC instead of the CRC, as ':', two hexadecimal digits per
// byte and CR LF. The core sees the frame's bytes (address, PDU, LRC); the
// line writes and reads them as characters.

#include "asciiframe.h"
#include "asciireceiver.h"
#include "linestream.h"
#include "rtuframe.h"
#include "serialstream.h"
#include "tcpstream.h"

#include <cerrno>
#include <cstdio>

namespace Modbus {

namespace {

constexpr int LrcLength = 1;
// Address, the longest PDU and the LRC.
constexpr int MaxFrameLength = 1 + 253 + LrcLength;

template<typename Stream> struct AsciiLine
{
    Stream stream;
    AsciiReceiver receiver;
};

using AsciiSerialLine = AsciiLine<SerialStream>;
using AsciiTcpLine = AsciiLine<TcpStream>;

int asciiFinishFrame(uint8_t *frame, int length)
{
    frame[length] = Ascii::lrc(frame, length);
    return length + LrcLength;
}

// Sends the frame as characters (the codec writes the LRC again); returns the
// frame's length once every character went out.
template<typename Line> ssize_t asciiSend(ModbusContext *context, const uint8_t *frame, int length)
{
    Line *line = lineData<Line>(context);
    line->receiver.reset(); // the reply to this request starts at its ':'
    char text[Ascii::frameLength(MaxFrameLength)];
    const int count = Ascii::encode(frame, length - LrcLength, text);
    const ssize_t sent = line->stream.send(context, reinterpret_cast<const uint8_t *>(text), count);
    if (sent == count)
        return length;
    return sent < 0 ? -1 : std::min<ssize_t>(sent / 2, length - 1);
}

template<typename Line> ssize_t asciiRead(ModbusContext *context, uint8_t *buffer, int length)
{
    return lineData<Line>(context)->receiver.read(buffer, length);
}

template<typename Line>
int asciiWaitForData(ModbusContext *context, const Timeout &limit, int wanted)
{
    Line *line = lineData<Line>(context);
    return line->receiver.waitForData(context, line->stream, limit, wanted);
}

// The frame must end right after its LRC; then a reply from another device
// is set aside as on RTU, and the LRC must be that of the bytes before it.
template<typename Line> int asciiCheckIntegrity(ModbusContext *context, uint8_t *reply, int length)
{
    if (!lineData<Line>(context)->receiver.endedAfterLastByte()) {
        if (context->debug)
            fprintf(stderr, "ASCII frame goes on beyond its length\n");
        errno = InvalidAsciiFrame;
        return -1;
    }
    if (Rtu::fromOtherDevice(context, reply))
        return 0;
    const uint8_t calculated = Ascii::lrc(reply, length - LrcLength);
    if (calculated == reply[length - 1])
        return length;
    if (context->debug)
        fprintf(stderr, "ERROR LRC received 0x%.2X != LRC calculated 0x%.2X\n", reply[length - 1],
            calculated);
    errno = InvalidLrc;
    return -1;
}

template<typename Line> int asciiConnect(ModbusContext *context)
{
    Line *line = lineData<Line>(context);
    line->receiver.reset();
    return line->stream.connect(context);
}

template<typename Line> int asciiFlush(ModbusContext *context)
{
    Line *line = lineData<Line>(context);
    uint8_t pending[FrameBufferSize];
    const int decoded = int(line->receiver.read(pending, FrameBufferSize));
    line->receiver.reset();
    const int discarded = line->stream.flush(context);
    return discarded == -1 ? -1 : decoded + discarded;
}

// A byte takes two characters, and the frame five more.
template<typename Line> int asciiReplyAllowanceMs(const ModbusContext *context, int length)
{
    return lineData<Line>(context)->stream.replyAllowanceMs(
        context, Ascii::frameLength(length - LrcLength));
}

template<typename Line>
constexpr Backend asciiBackend = {
    Rtu::HeaderLength,
    LrcLength,
    MaxFrameLength,
    Rtu::setAddress,
    Rtu::buildRequestHeader,
    asciiFinishFrame,
    asciiSend<Line>,
    asciiRead<Line>,
    asciiCheckIntegrity<Line>,
    Rtu::preCheck,
    asciiConnect<Line>,
    streamClose<Line>,
    asciiFlush<Line>,
    asciiWaitForData<Line>,
    freeLine<Line>,
    asciiReplyAllowanceMs<Line>,
    streamStillOpen<Line>,
};

} // namespace

ModbusContext *newAsciiContext(
    const char *device, int baudRate, char parity, int dataBits, int stopBits)
{
    if (!SerialStream::acceptable(device, baudRate, parity))
        return nullptr;
    auto *line
        = new AsciiSerialLine {SerialStream(device, baudRate, parity, dataBits, stopBits), {}};
    return newLineContext(&asciiBackend<AsciiSerialLine>, line, -1);
}

ModbusContext *newAsciiTcpContext(const char *ipAddress, int port)
{
    return newNetworkContext<AsciiTcpLine>(&asciiBackend<AsciiTcpLine>, ipAddress, port, -1);
}

} // namespace Modbus
