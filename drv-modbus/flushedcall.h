#pragma once

#include "engine/modbus.h"

#include <cerrno>

namespace CmmNamespace {

// Makes one engine call the way every command of the register driver does:
// flushes the line before it and again after a failure, so that a late
// reply to a failed request cannot pass for the answer to the next one.
// True when the call returned expected (AnyCount: any count); otherwise
// *error holds the engine's error code (InvalidData for a call that
// returned another count).
constexpr int AnyCount = -2;

template<typename Call>
bool flushedCall(ModbusContext *context, int expected, int *error, Call call)
{
    Modbus::flush(context);
    const int result = call();
    if (result == expected || (expected == AnyCount && result >= 0)) {
        *error = 0;
        return true;
    }
    // Taken before the flush, which may touch errno.
    *error = result == -1 ? errno : int(Modbus::InvalidData);
    Modbus::flush(context);
    return false;
}

} // namespace CmmNamespace
