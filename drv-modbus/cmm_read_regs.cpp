#include "cmm_read_regs.h"

#include "cmm_read_regsin.h"

namespace CmmNamespace {

Cmm_Read_Regs::Cmm_Read_Regs(ModbusContext *context, quint16 start, quint16 count)
    : RangeRead(context, Modbus::readHoldingRegisters, start, count)
{ }

Cmm_Read_RegsIn::Cmm_Read_RegsIn(ModbusContext *context, quint16 start, quint16 count)
    : RangeRead(context, Modbus::readInputRegisters, start, count)
{ }

} // namespace CmmNamespace
