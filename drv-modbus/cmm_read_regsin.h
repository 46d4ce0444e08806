#pragma once

#include "cmm_read_regs.h"

namespace CmmNamespace {

// Reads input registers (function 4); the algorithm of every register read.
class Cmm_Read_RegsIn : public RegisterRead
{
public:
    Cmm_Read_RegsIn(ModbusContext *context, quint16 start, quint16 count);
};

} // namespace CmmNamespace
