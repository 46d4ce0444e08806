// Device macros (written with function 16 at register 0, or read with the
// vendor function 0x41) and the fixed-length identification read (0x11).

#include "modbuscontext.h"

#include <cerrno>
#include <cstdio>

namespace Modbus {

namespace {

// Registers of a macro payload beside its parameters: code, its complement,
// specification and count, and the two complement bytes.
constexpr int MacroOverhead = 4;
constexpr int MaxMacroRegisters = MaxMacroParameters + MacroOverhead;

// Refuses a macro that cannot be sent, before anything goes out.
bool macroFits(const ModbusContext *context, int count, const uint16_t *parameters)
{
    if (count + MacroOverhead > MaxMacroRegisters) {
        if (context && context->debug)
            fprintf(stderr, "ERROR Trying to write to too many registers (%d > %d)\n",
                count + MacroOverhead, MaxMacroRegisters);
        errno = TooManyData;
        return false;
    }
    if (!context || count < 0 || (count > 0 && !parameters)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

// Appends the macro payload: code and its complement, specification, count,
// the parameter words, then the complements of specification and count.
int appendPayload(uint8_t *frame, int length, uint16_t code, int specification, int count,
    const uint16_t *parameters)
{
    const uint16_t complement = uint16_t(~code);
    const uint8_t specificationByte = uint8_t(specification & 0xFF);
    frame[length++] = uint8_t(code >> 8);
    frame[length++] = uint8_t(code & 0xFF);
    frame[length++] = uint8_t(complement >> 8);
    frame[length++] = uint8_t(complement & 0xFF);
    frame[length++] = specificationByte;
    frame[length++] = uint8_t(count);
    for (int i = 0; i < count; ++i) {
        frame[length++] = uint8_t(parameters[i] >> 8);
        frame[length++] = uint8_t(parameters[i] & 0xFF);
    }
    frame[length++] = uint8_t(~specificationByte);
    frame[length++] = uint8_t(~uint8_t(count));
    return length;
}

unsigned word(const uint8_t *bytes)
{
    return unsigned(bytes[0] << 8 | bytes[1]);
}

} // namespace

int writeMacro(
    ModbusContext *context, uint16_t code, int specification, int count, const uint16_t *parameters)
{
    if (!macroFits(context, count, parameters))
        return -1;
    uint8_t request[FrameBufferSize];
    uint8_t reply[FrameBufferSize];
    int length
        = Core::buildRequest(context, FunctionWriteRegisters, 0, count + MacroOverhead, request);
    if (length == -1)
        return -1;
    request[length++] = uint8_t(2 * (count + MacroOverhead));
    length = appendPayload(request, length, code, specification, count, parameters);
    return Core::exchange(context, request, length, reply);
}

int readMacro(ModbusContext *context, uint16_t code, int specification, int count,
    const uint16_t *parameters, uint16_t *result)
{
    if (!macroFits(context, count, parameters))
        return -1;
    if (!result) {
        errno = EINVAL;
        return -1;
    }
    uint8_t request[FrameBufferSize];
    uint8_t reply[FrameBufferSize];
    int length = Core::buildRequest(context, FunctionReadMacro, 0, count + MacroOverhead, request);
    if (length == -1)
        return -1;
    length = appendPayload(request, length, code, specification, count, parameters);
    if (Core::exchange(context, request, length, reply) == -1)
        return -1;

    // Reply after the function code: byte count, code, its complement,
    // specification, n, n words, complement of specification, complement of n.
    // The length check has made sure all of it is there.
    const uint8_t *data = reply + context->backend->headerLength + 2;
    const unsigned replyCode = word(data);
    const unsigned codeCheck = ~word(data + 2) & 0xFFFF;
    if (replyCode != codeCheck) {
        if (context->debug)
            fprintf(stderr, "Macro negation not corresponding request (%u != %u)\n", replyCode,
                codeCheck);
        errno = InvalidData;
        return -1;
    }
    const unsigned replySpecification = data[4];
    const int results = data[5];
    const uint8_t *words = data + 6;
    const unsigned specificationCheck = uint8_t(~words[2 * results]);
    if (replySpecification != specificationCheck) {
        if (context->debug)
            fprintf(stderr, "Macro specification not corresponding request (%u != %u)\n",
                replySpecification, specificationCheck);
        errno = InvalidData;
        return -1;
    }
    const unsigned countCheck = uint8_t(~words[2 * results + 1]);
    if (unsigned(results) != countCheck) {
        if (context->debug)
            fprintf(stderr, "Macro parameters not corresponding request (%u != %u)\n",
                unsigned(results), countCheck);
        errno = InvalidData;
        return -1;
    }
    for (int i = 0; i < results; ++i)
        result[i] = uint16_t(word(words + 2 * i));
    return results;
}

int readIdentification(ModbusContext *context, int bufferSize, uint8_t *buffer, int version)
{
    const int length = identificationLength(version);
    // The identification bytes and their terminating zero must fit.
    if (!context || !buffer || bufferSize <= 0 || (length >= 0 && bufferSize < length + 1)) {
        errno = EINVAL;
        return -1;
    }
    context->identificationVersion = version;

    uint8_t request[FrameBufferSize];
    uint8_t reply[FrameBufferSize];
    if (Core::buildRequest(context, FunctionIdentification, 0, 0, request) == -1)
        return -1;
    // The request is the line header and the function code alone.
    const int header = context->backend->headerLength;
    if (Core::exchange(context, request, header + 1, reply) == -1)
        return -1;
    if (length < 0) { // no reply fits; the checks have refused it already
        errno = InvalidData;
        return -1;
    }

    // Each byte pair (high, low) of the reply is stored as a little-endian
    // word: low byte first.
    const uint8_t *data = reply + header + 1;
    for (int i = 0; i < length / 2; ++i) {
        buffer[2 * i] = data[2 * i + 1];
        buffer[2 * i + 1] = data[2 * i];
    }
    buffer[length] = 0;
    return length;
}

} // namespace Modbus
