#pragma once

// The operations of a line's Backend that only move bytes, taken from the
// stream the line carries its frames on (a serial device, a TCP socket, a TLS
// session). A line's data is a struct with a member `stream`; its Backend
// names these with the struct, e.g. streamSend<RtuLine>, so every line on the
// same stream shares one implementation.

#include "modbuscontext.h"

#include <memory>
#include <utility>

namespace Modbus {

template<typename Line> Line *lineData(const ModbusContext *context)
{
    return static_cast<Line *>(context->backendData);
}

template<typename Line> ssize_t streamSend(ModbusContext *context, const uint8_t *frame, int length)
{
    return lineData<Line>(context)->stream.send(context, frame, length);
}

template<typename Line> ssize_t streamRead(ModbusContext *context, uint8_t *buffer, int length)
{
    return lineData<Line>(context)->stream.read(context, buffer, length);
}

template<typename Line> int streamConnect(ModbusContext *context)
{
    return lineData<Line>(context)->stream.connect(context);
}

template<typename Line> void streamClose(ModbusContext *context)
{
    lineData<Line>(context)->stream.close(context);
}

template<typename Line> int streamFlush(ModbusContext *context)
{
    return lineData<Line>(context)->stream.flush(context);
}

template<typename Line>
int streamWaitForData(ModbusContext *context, const Timeout &limit, int wanted)
{
    return lineData<Line>(context)->stream.waitForData(context, limit, wanted);
}

template<typename Line> int streamReplyAllowanceMs(const ModbusContext *context, int length)
{
    return lineData<Line>(context)->stream.replyAllowanceMs(context, length);
}

template<typename Line> bool streamStillOpen(ModbusContext *context)
{
    return lineData<Line>(context)->stream.stillOpen(context);
}

// Closes the stream and frees the line's data.
template<typename Line> void freeLine(ModbusContext *context)
{
    Line *line = lineData<Line>(context);
    line->stream.close(context);
    delete line;
    context->backendData = nullptr;
}

// Makes a context on the line with its data (taken over) and device address.
template<typename Line>
ModbusContext *newLineContext(const Backend *backend, Line *line, int deviceAddress)
{
    auto *context = new ModbusContext;
    context->deviceAddress = deviceAddress;
    context->backend = backend;
    context->backendData = line;
    return context;
}

// Makes a context on a line over the network: its data made of arguments,
// its stream to the IPv4 address and port. Null (EINVAL) when the stream
// refuses them.
template<typename Line, typename... Arguments>
ModbusContext *newNetworkContext(const Backend *backend, const char *ipAddress, int port,
    int deviceAddress, Arguments &&...arguments)
{
    auto line = std::make_unique<Line>(std::forward<Arguments>(arguments)...);
    if (!line->stream.setEndpoint(ipAddress, port))
        return nullptr;
    return newLineContext(backend, line.release(), deviceAddress);
}

} // namespace Modbus
