#pragma once

#include "rangeread.h"

namespace CmmNamespace {

// Reads discrete inputs (function 2), each 0 or 1.
class Cmm_Read_BitsIn : public RangeRead<quint8>
{
public:
    Cmm_Read_BitsIn(ModbusContext *context, quint16 start, quint16 count);
};

} // namespace CmmNamespace
