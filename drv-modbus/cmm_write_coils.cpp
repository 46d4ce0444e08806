#include "cmm_write_coils.h"

namespace CmmNamespace {

Cmm_Write_Coils::Cmm_Write_Coils(ModbusContext *context, quint16 start, const QVector<quint8> &bits)
    : RangeWrite(context, Modbus::writeCoils, MaxCoilsPerRequest, start, bits)
{ }

} // namespace CmmNamespace
