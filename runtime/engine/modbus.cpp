// The engine core: builds requests, sends them, receives replies in three
// phases and checks them against their request. It knows no line; everything
// particular to serial RTU or TCP goes through the context's Backend.

#include "lineerrors.h"
#include "modbuscontext.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace Modbus {

namespace {

// Whether an error is one of the exception codes a device answers with.
bool isExceptionCode(int error)
{
    return error > ErrorBase && error <= TargetFailedToRespond;
}

int word(const uint8_t *bytes)
{
    return (bytes[0] << 8) | bytes[1];
}

// Bytes between the function code and the data of a reply.
int metaLength(int function)
{
    switch (function) {
    case FunctionWriteCoil:
    case FunctionWriteRegister:
    case FunctionWriteCoils:
    case FunctionWriteRegisters:
        return 4; // the echo: address and value, or start address and quantity
    case FunctionDeviceIdentification:
        return 6; // MEI type, read code, conformity, more follows, next object, objects
    case FunctionIdentification:
        return 0;
    default:
        return 1; // byte count, or the exception code of an exception reply
    }
}

// Length of the objects of a device identification reply as far as the
// bytes received tell it: up to the end of the last object whose header has
// arrived, or up to the next object's header. complete is set when every
// announced object is accounted for.
int deviceIdObjectsEnd(const uint8_t *reply, int header, int received, bool *complete)
{
    const int objects = reply[header + 6];
    int end = header + 7;
    *complete = false;
    for (int i = 0; i < objects; ++i) {
        if (end + 2 > received)
            return end + 2;
        end += 2 + reply[end + 1];
    }
    *complete = true;
    return end;
}

// Length the reply must reach, as far as its bytes up to received (the
// function and meta bytes at least) tell it; -1 when no length fits (an
// identification reply for a version without one). A reply whose length
// grows with its content (device identification objects) gives a longer
// length once more of it has arrived.
int replyEnd(const ModbusContext *context, const uint8_t *reply, int received)
{
    const Backend *line = context->backend;
    const int header = line->headerLength;
    const int function = reply[header];
    const int dataStart = header + 1 + metaLength(function);
    switch (function) {
    case FunctionReadCoils:
    case FunctionReadDiscreteInputs:
    case FunctionReadHolding:
    case FunctionReadInput:
    case FunctionReadMacro:
        return dataStart + reply[header + 1] + line->checksumLength;
    case FunctionIdentification: {
        const int length = identificationLength(context->identificationVersion);
        return length < 0 ? -1 : dataStart + length + line->checksumLength;
    }
    case FunctionDeviceIdentification: {
        bool complete = false;
        const int end = deviceIdObjectsEnd(reply, header, received, &complete);
        return complete ? end + line->checksumLength : end;
    }
    default:
        return dataStart + line->checksumLength;
    }
}

// The whole of a reply of at most lengthBound bytes must have arrived by
// this time: the response time-out for its first byte plus what the line
// allows for the bytes. Each byte restarting the byte time-out alone would
// let a device that trickles hold a request for minutes.
class ReplyDeadline
{
public:
    ReplyDeadline(const ModbusContext *context, int lengthBound)
        : context(context)
        , start(std::chrono::steady_clock::now())
    {
        raise(lengthBound);
    }

    // A reply announced longer than first bounded gets the time it takes.
    void raise(int lengthBound)
    {
        if (lengthBound <= bound)
            return;
        bound = std::min(lengthBound, context->backend->maxFrameLength);
        end = start
            + std::chrono::milliseconds(context->responseTimeout.milliseconds()
                + context->backend->replyAllowanceMs(context, bound));
    }

    // The limit of the next wait: the phase's own, cut to the time left.
    // False when no time is left.
    bool limitWait(const Timeout &phaseLimit, Timeout *limit) const
    {
        // Rounded up: the last wait ends at the deadline, not before it.
        const long long left
            = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())
                  .count();
        if (left <= 0)
            return false;
        const int ms = int(std::min<long long>(left, phaseLimit.milliseconds()));
        *limit = Timeout {ms / 1000, (ms % 1000) * 1000};
        return true;
    }

private:
    const ModbusContext *context;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point end;
    int bound = 0;
};

// Records how a wait for a reply that failed with ETIMEDOUT ended: no byte
// within the response time-out (a first wait cut short by the whole reply's
// deadline ended later than that), or a reply that stopped after received
// bytes, with the time since the wait began.
void noteTimeout(ModbusContext *context, int received, std::chrono::steady_clock::time_point start)
{
    if (received == 0) {
        context->replyTimeout = {ReplyTimeout::NoReply, context->responseTimeout.milliseconds()};
        return;
    }
    const auto elapsed
        = std::chrono::ceil<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    context->replyTimeout = {ReplyTimeout::Incomplete, int(elapsed.count())};
}

// Receives one reply of at most about lengthBound bytes into reply. Returns
// its length (0 for a reply from another device on the serial line) or -1
// with the error set.
int receive(ModbusContext *context, uint8_t *reply, int lengthBound)
{
    const Backend *line = context->backend;
    if (context->debug)
        printf("Waiting for a confirmation...\n");

    enum class Phase { Function, Meta, Data } phase = Phase::Function;
    int length = 0;
    int wanted = line->headerLength + 1;
    bool lengthKnown = true;
    const Timeout *phaseLimit = &context->responseTimeout;
    ReplyDeadline deadline(context, lengthBound);
    const auto start = std::chrono::steady_clock::now();

    while (wanted > 0) {
        Timeout limit {};
        if (!deadline.limitWait(*phaseLimit, &limit)) {
            errno = ETIMEDOUT;
            noteTimeout(context, length, start);
            Core::errorPrint(context, "select");
            return -1;
        }
        if (line->waitForData(context, limit, wanted) == -1) {
            if (errno == ETIMEDOUT)
                noteTimeout(context, length, start);
            Core::errorPrint(context, "select");
            return -1;
        }
        ssize_t count = line->read(context, reply + length, wanted);
        if (count == 0)
            errno = ECONNRESET;
        if (count <= 0) {
            Core::errorPrint(context, "read");
            return -1;
        }
        if (context->debug) {
            for (ssize_t i = 0; i < count; ++i)
                printf("<%.2X>", reply[length + i]);
        }
        length += int(count);
        wanted -= int(count);
        phaseLimit = &context->byteTimeout;
        if (wanted > 0)
            continue;

        if (phase == Phase::Function) {
            wanted = metaLength(reply[line->headerLength]);
            phase = Phase::Meta;
        }
        if (wanted == 0) {
            // The meta bytes, or the data as far as the reply announced it,
            // are here: the reply's length as they tell it. A reply of
            // objects announces each one's length with the object before.
            phase = Phase::Data;
            const int end = replyEnd(context, reply, length);
            if (end < 0) {
                // Nothing fits: hand the bytes so far to the checks, whose
                // length check refuses them.
                lengthKnown = false;
            } else {
                wanted = std::max(0, end - length);
                deadline.raise(end);
            }
        }
        if (length + wanted > line->maxFrameLength) {
            errno = InvalidData;
            Core::errorPrint(context, "too many data");
            return -1;
        }
    }
    if (context->debug)
        printf("\n");

    return lengthKnown ? line->checkIntegrity(context, reply, length) : length;
}

// Length the reply to request must have; reply is consulted for the result
// count of a macro read and for the objects of a device identification.
int expectedLength(
    const ModbusContext *context, const uint8_t *request, const uint8_t *reply, int replyLength)
{
    const Backend *line = context->backend;
    const int header = line->headerLength;
    switch (request[header]) {
    case FunctionReadCoils:
    case FunctionReadDiscreteInputs:
        return header + 2 + (word(request + header + 3) + 7) / 8 + line->checksumLength;
    case FunctionReadHolding:
    case FunctionReadInput:
        return header + 2 + 2 * word(request + header + 3) + line->checksumLength;
    case FunctionIdentification: {
        const int length = identificationLength(context->identificationVersion);
        return length < 0 ? 0 : header + 1 + length + line->checksumLength;
    }
    case FunctionReadMacro: {
        const int results = replyLength > header + 7 ? reply[header + 7] : 0;
        return header + line->checksumLength + 10 + 2 * results;
    }
    case FunctionDeviceIdentification: {
        if (replyLength < header + 7 + line->checksumLength)
            return header + 7 + line->checksumLength;
        bool complete = false;
        const int end = deviceIdObjectsEnd(reply, header, replyLength, &complete);
        return end + line->checksumLength;
    }
    default: // functions 5, 6, 15 and 16: the echo
        return header + 5 + line->checksumLength;
    }
}

// Length of the reply a request asks for, where the request fixes it; the
// line's largest frame otherwise.
int replyLengthBound(const ModbusContext *context, const uint8_t *request)
{
    const int header = context->backend->headerLength;
    switch (request[header]) {
    case FunctionReadCoils:
    case FunctionReadDiscreteInputs:
    case FunctionReadHolding:
    case FunctionReadInput:
    case FunctionWriteCoil:
    case FunctionWriteRegister:
    case FunctionWriteCoils:
    case FunctionWriteRegisters:
    case FunctionIdentification:
        return std::max(expectedLength(context, request, nullptr, 0), header + 1);
    default:
        return context->backend->maxFrameLength;
    }
}

// Fails with InvalidData and, in debug mode, the message when the reply's
// value differs from the request's.
bool sameAsRequest(const ModbusContext *context, const char *message, int received, int requested)
{
    if (received == requested)
        return true;
    if (context->debug)
        fprintf(stderr, message, received, requested);
    errno = InvalidData;
    return false;
}

// The checks particular to a device identification reply: the MEI type and
// read code of the request, a valid "more follows" that names an object
// beyond the one asked for (so following it always ends), and for one object
// asked for, that object alone.
int checkDeviceIdReply(
    const ModbusContext *context, const uint8_t *request, const uint8_t *reply, int replyLength)
{
    const int header = context->backend->headerLength;
    const uint8_t *asked = request + header;
    const uint8_t *answer = reply + header;
    if (!sameAsRequest(context, "MEI type not corresponding to the request (0x%X != 0x%X)\n",
            answer[1], asked[1])
        || !sameAsRequest(context,
            "Read device ID code not corresponding to the request (%d != %d)\n", answer[2],
            asked[2]))
        return -1;
    const int moreFollows = answer[4];
    if (moreFollows != 0x00 && moreFollows != 0xFF) {
        if (context->debug)
            fprintf(stderr, "More follows neither 0x00 nor 0xFF (0x%X)\n", moreFollows);
        errno = InvalidData;
        return -1;
    }
    if (moreFollows && answer[5] <= asked[3]) {
        if (context->debug)
            fprintf(stderr, "Next object not beyond the one requested (0x%X <= 0x%X)\n", answer[5],
                asked[3]);
        errno = InvalidData;
        return -1;
    }
    if (asked[2] == DeviceIdIndividual
        && (!sameAsRequest(
                context, "Objects not corresponding to the request (%d != %d)\n", answer[6], 1)
            || !sameAsRequest(context, "Object not corresponding to the request (0x%X != 0x%X)\n",
                answer[7], asked[3])))
        return -1;
    return replyLength;
}

// Checks a reply against its request, in order: line pre-check, exception,
// length, function, then what the function's reply repeats of its request
// (address, value, quantity, read code).
int checkReply(
    ModbusContext *context, const uint8_t *request, const uint8_t *reply, int replyLength)
{
    const Backend *line = context->backend;
    const int header = line->headerLength;

    if (line->preCheck(context, request, reply, replyLength) == -1)
        return -1;

    const int function = reply[header];
    const int requested = request[header];
    if (function & 0x80) {
        const int code = reply[header + 1];
        if (replyLength == header + 2 + line->checksumLength && function == requested + 0x80)
            errno = code <= 11 ? ErrorBase + code : int(InvalidExceptionCode);
        else
            errno = InvalidExceptionCode;
        Core::errorPrint(context, nullptr);
        return -1;
    }

    const int expected = expectedLength(context, request, reply, replyLength);
    if (replyLength != expected) {
        if (context->debug)
            fprintf(stderr, "Message length not corresponding to the computed length (%d != %d)\n",
                replyLength, expected);
        errno = InvalidData;
        return -1;
    }

    if (function != requested) {
        if (context->debug)
            fprintf(stderr, "Received function not corresponding to the request (0x%X != 0x%X)\n",
                function, requested);
        errno = InvalidData;
        return -1;
    }

    const int requestedQuantity = word(request + header + 3);
    int quantity = 0;
    switch (function) {
    case FunctionReadCoils:
    case FunctionReadDiscreteInputs:
        // The length check has matched the byte count to the quantity.
        return requestedQuantity;
    case FunctionReadHolding:
    case FunctionReadInput:
        quantity = reply[header + 1] / 2;
        break;
    case FunctionWriteCoil:
    case FunctionWriteRegister:
        // The reply repeats the request: a device that changed another
        // register, or to another value, must not pass for a success.
        if (!sameAsRequest(context, "Address not corresponding to the request (%d != %d)\n",
                word(reply + header + 1), word(request + header + 1))
            || !sameAsRequest(context, "Value not corresponding to the request (0x%X != 0x%X)\n",
                word(reply + header + 3), requestedQuantity))
            return -1;
        return 1;
    case FunctionWriteCoils:
    case FunctionWriteRegisters:
        if (!sameAsRequest(context, "Address not corresponding to the request (%d != %d)\n",
                word(reply + header + 1), word(request + header + 1)))
            return -1;
        quantity = word(reply + header + 3);
        break;
    case FunctionDeviceIdentification:
        return checkDeviceIdReply(context, request, reply, replyLength);
    default:
        return replyLength;
    }
    if (!sameAsRequest(context, "Quantity not corresponding to the request (%d != %d)\n", quantity,
            requestedQuantity))
        return -1;
    return quantity;
}

int readRegisters(ModbusContext *context, int function, int start, int count, uint16_t *words)
{
    if (!context || !words || count < 0 || start < 0 || start > 0xFFFF) {
        errno = EINVAL;
        return -1;
    }
    uint8_t reply[FrameBufferSize];
    const int quantity = Core::exchangeHeader(context, function, start, count, reply);
    if (quantity == -1)
        return -1;
    const uint8_t *data = reply + context->backend->headerLength + 2;
    for (int i = 0; i < quantity; ++i)
        words[i] = uint16_t(word(data + 2 * i));
    return quantity;
}

} // namespace

int identificationLength(int version)
{
    switch (version) {
    case 1:
        return 10;
    case 2:
        return 12;
    case 3:
        return 14;
    case 4:
        return 16;
    default:
        return -1;
    }
}

namespace Core {

void errorPrint(const ModbusContext *context, const char *what)
{
    if (!context->debug)
        return;
    const int error = errno;
    fprintf(stderr, "ERROR %s", errorText(error));
    if (what)
        fprintf(stderr, ": %s\n", what);
    else
        fprintf(stderr, "\n");
    errno = error;
}

int buildRequest(ModbusContext *context, int function, int start, int quantity, uint8_t *request)
{
    // A request never goes out to an address nobody gave.
    if (context->deviceAddress < 0) {
        errno = EINVAL;
        return -1;
    }
    return context->backend->buildRequestHeader(context, function, start, quantity, request);
}

int exchangeHeader(ModbusContext *context, int function, int start, int quantity, uint8_t *reply)
{
    uint8_t request[FrameBufferSize];
    const int length = buildRequest(context, function, start, quantity, request);
    if (length == -1)
        return -1;
    return exchange(context, request, length, reply);
}

int exchange(ModbusContext *context, uint8_t *request, int requestLength, uint8_t *reply)
{
    const Backend *line = context->backend;
    context->replyTimeout = ReplyTimeout();
    const int length = line->finishFrame(request, requestLength);
    if (context->debug) {
        for (int i = 0; i < length; ++i)
            printf("[%.2X]", request[i]);
        printf("\n");
    }

    // Out of step until a whole reply to this request has come.
    context->inStep = false;
    const ssize_t sent = line->send(context, request, length);
    if (sent == -1) {
        errorPrint(context, nullptr);
        return -1;
    }
    if (sent != length) {
        errno = InvalidData;
        return -1;
    }

    const int replyLength = receive(context, reply, replyLengthBound(context, request));
    if (replyLength == -1)
        return -1;
    const int result = checkReply(context, request, reply, replyLength);
    // The device's answer or its exception, taken whole: nothing more of
    // this exchange can come.
    context->inStep = result != -1 || isExceptionCode(errno);
    return result;
}

} // namespace Core

const char *errorText(int code)
{
    switch (code) {
    case IllegalFunction:
        return "Illegal function";
    case IllegalDataAddress:
        return "Illegal data address";
    case IllegalDataValue:
        return "Illegal data value";
    case SlaveDeviceFailure:
        return "Slave device or server failure";
    case Acknowledge:
        return "Acknowledge";
    case SlaveDeviceBusy:
        return "Slave device or server is busy";
    case NegativeAcknowledge:
        return "Negative acknowledge";
    case MemoryParityError:
        return "Memory parity error";
    case GatewayPathUnavailable:
        return "Gateway path unavailable";
    case TargetFailedToRespond:
        return "Target device failed to respond";
    case InvalidCrc:
        return "Invalid CRC";
    case InvalidData:
        return "Invalid data";
    case InvalidExceptionCode:
        return "Invalid exception code";
    case TooManyData:
        return "Too many data";
    case ResponseNotFromRequestedSlave:
        return "Response not from requested slave";
    case InvalidLrc:
        return "Invalid LRC";
    case InvalidAsciiFrame:
        return "Invalid ASCII frame";
    case NotRegularFile:
        return "Not a regular file";
    default:
        if (const char *text = lineErrorText(code))
            return text;
        return strerror(code);
    }
}

void freeContext(ModbusContext *context)
{
    if (!context)
        return;
    context->backend->free(context);
    delete context;
}

int setAddress(ModbusContext *context, int address)
{
    if (!context) {
        errno = EINVAL;
        return -1;
    }
    return context->backend->setAddress(context, address);
}

int address(const ModbusContext *context)
{
    return context ? context->deviceAddress : -1;
}

void setDebug(ModbusContext *context, bool on)
{
    if (context)
        context->debug = on ? 1 : 0;
}

int setResponseTimeout(ModbusContext *context, int milliseconds)
{
    if (!context || milliseconds < 1) {
        errno = EINVAL;
        return -1;
    }
    context->responseTimeout = Timeout {milliseconds / 1000, (milliseconds % 1000) * 1000};
    return 0;
}

void setCancelDescriptor(ModbusContext *context, int descriptor)
{
    if (context)
        context->cancelDescriptor = descriptor;
}

int connect(ModbusContext *context)
{
    if (!context) {
        errno = EINVAL;
        return -1;
    }
    const int rc = context->backend->connect(context);
    if (rc == 0)
        context->inStep = true;
    return rc;
}

bool lineInStep(const ModbusContext *context)
{
    return context && context->inStep;
}

bool lineStillOpen(ModbusContext *context)
{
    return context && context->backend->stillOpen(context);
}

int requestLimitMs(const ModbusContext *context)
{
    const int response = context->responseTimeout.milliseconds();
    // Each of connect, the TLS handshake of a secured line, send and the
    // reply's first byte is bounded by the response time-out; the rest of
    // the reply by the line's allowance.
    return 4 * response
        + context->backend->replyAllowanceMs(context, context->backend->maxFrameLength);
}

ReplyTimeout lastReplyTimeout(const ModbusContext *context)
{
    return context ? context->replyTimeout : ReplyTimeout();
}

void close(ModbusContext *context)
{
    if (context)
        context->backend->close(context);
}

int flush(ModbusContext *context)
{
    if (!context) {
        errno = EINVAL;
        return -1;
    }
    const int discarded = context->backend->flush(context);
    if (context->debug) {
        const int error = errno;
        printf("Bytes flushed (%d)\n", discarded);
        errno = error;
    }
    return discarded;
}

int readHoldingRegisters(ModbusContext *context, int start, int count, uint16_t *words)
{
    if (count > MaxReadRegisters) {
        if (context && context->debug)
            fprintf(
                stderr, "ERROR Too many registers requested (%d > %d)\n", count, MaxReadRegisters);
        errno = TooManyData;
        return -1;
    }
    return readRegisters(context, FunctionReadHolding, start, count, words);
}

int readInputRegisters(ModbusContext *context, int start, int count, uint16_t *words)
{
    if (count > MaxReadRegisters) {
        fprintf(stderr, "ERROR Too many input registers requested (%d > %d)\n", count,
            MaxReadRegisters);
        errno = TooManyData;
        return -1;
    }
    return readRegisters(context, FunctionReadInput, start, count, words);
}

int writeRegisters(ModbusContext *context, int start, int count, const uint16_t *words)
{
    if (count > MaxWriteRegisters) {
        if (context && context->debug)
            fprintf(stderr, "ERROR Trying to write to too many registers (%d > %d)\n", count,
                MaxWriteRegisters);
        errno = TooManyData;
        return -1;
    }
    if (!context || !words || count < 0 || start < 0 || start > 0xFFFF) {
        errno = EINVAL;
        return -1;
    }
    uint8_t request[FrameBufferSize];
    uint8_t reply[FrameBufferSize];
    int length = Core::buildRequest(context, FunctionWriteRegisters, start, count, request);
    if (length == -1)
        return -1;
    request[length++] = uint8_t(2 * count);
    for (int i = 0; i < count; ++i) {
        request[length++] = uint8_t(words[i] >> 8);
        request[length++] = uint8_t(words[i] & 0xFF);
    }
    return Core::exchange(context, request, length, reply);
}

int writeRegister(ModbusContext *context, int address, uint16_t value)
{
    if (!context || address < 0 || address > 0xFFFF) {
        errno = EINVAL;
        return -1;
    }
    uint8_t reply[FrameBufferSize];
    // The value stands where other requests have their quantity.
    return Core::exchangeHeader(context, FunctionWriteRegister, address, value, reply);
}

} // namespace Modbus
