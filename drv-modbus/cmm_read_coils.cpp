#include "cmm_read_coils.h"

#include "cmm_read_bitsin.h"

namespace CmmNamespace {

Cmm_Read_Coils::Cmm_Read_Coils(ModbusContext *context, quint16 start, quint16 count)
    : RangeRead(context, Modbus::readCoils, start, count)
{ }

Cmm_Read_BitsIn::Cmm_Read_BitsIn(ModbusContext *context, quint16 start, quint16 count)
    : RangeRead(context, Modbus::readDiscreteInputs, start, count)
{ }

} // namespace CmmNamespace
