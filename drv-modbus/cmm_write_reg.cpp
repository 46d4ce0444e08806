#include "cmm_write_reg.h"

#include "flushedcall.h"

namespace CmmNamespace {

Cmm_Write_Reg::Cmm_Write_Reg(ModbusContext *context, quint16 address, quint16 value)
    : context(context)
    , address(address)
    , value(value)
{ }

bool Cmm_Write_Reg::run()
{
    ok = flushedCall(
        context, 1, &error, [this] { return Modbus::writeRegister(context, address, value); });
    return ok;
}

} // namespace CmmNamespace
