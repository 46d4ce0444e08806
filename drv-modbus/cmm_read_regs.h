#pragma once

#include "rangeread.h"

namespace CmmNamespace {

// Reads holding registers (function 3).
class Cmm_Read_Regs : public RangeRead<quint16>
{
public:
    Cmm_Read_Regs(ModbusContext *context, quint16 start, quint16 count);
};

} // namespace CmmNamespace
