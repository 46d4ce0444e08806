#pragma once

#include "rangewrite.h"

namespace CmmNamespace {

// Writes holding registers (function 16) at consecutive addresses from start,
// in requests of at most 120 registers. The line is flushed before each
// request and after a failed one; the first failure ends the command, so no
// register is written after a write that failed.
class Cmm_Write_Regs : public RangeWrite<quint16>
{
public:
    static constexpr int MaxRegistersPerRequest = 120;

    Cmm_Write_Regs(ModbusContext *context, quint16 start, const QVector<quint16> &words);
};

} // namespace CmmNamespace
