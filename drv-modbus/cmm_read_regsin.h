#pragma once

#include "rangeread.h"

namespace CmmNamespace {

// Reads input registers (function 4); the algorithm of every register read.
class Cmm_Read_RegsIn : public RangeRead<quint16>
{
public:
    Cmm_Read_RegsIn(ModbusContext *context, quint16 start, quint16 count);
};

} // namespace CmmNamespace
