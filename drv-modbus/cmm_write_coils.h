#pragma once

#include "rangewrite.h"

namespace CmmNamespace {

// Writes coils (function 15) at consecutive addresses from start, in
// requests of at most 1968 coils, as Cmm_Write_Regs writes registers.
class Cmm_Write_Coils : public RangeWrite<quint8>
{
public:
    static constexpr int MaxCoilsPerRequest = Modbus::MaxWriteBits;

    Cmm_Write_Coils(ModbusContext *context, quint16 start, const QVector<quint8> &bits);
};

} // namespace CmmNamespace
