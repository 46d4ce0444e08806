#include "cmm_write_regs.h"

namespace CmmNamespace {

Cmm_Write_Regs::Cmm_Write_Regs(ModbusContext *context, quint16 start, const QVector<quint16> &words)
    : RangeWrite(context, Modbus::writeRegisters, MaxRegistersPerRequest, start, words)
{ }

} // namespace CmmNamespace
