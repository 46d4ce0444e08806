#pragma once

#include "rangeread.h"

namespace CmmNamespace {

// Reads coils (function 1), each 0 or 1.
class Cmm_Read_Coils : public RangeRead<quint8>
{
public:
    Cmm_Read_Coils(ModbusContext *context, quint16 start, quint16 count);
};

} // namespace CmmNamespace
