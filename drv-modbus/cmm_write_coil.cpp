#include "cmm_write_coil.h"

#include "flushedcall.h"

namespace CmmNamespace {

Cmm_Write_Coil::Cmm_Write_Coil(ModbusContext *context, quint16 address, bool on)
    : context(context)
    , address(address)
    , on(on)
{ }

bool Cmm_Write_Coil::run()
{
    ok = flushedCall(
        context, 1, &error, [this] { return Modbus::writeCoil(context, address, on); });
    return ok;
}

} // namespace CmmNamespace
