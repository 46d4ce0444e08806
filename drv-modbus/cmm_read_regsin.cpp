#include "cmm_read_regsin.h"

#include "cmm_read_regs.h"
#include "engine/modbus.h"

namespace CmmNamespace {

Cmm_Read_RegsIn::Cmm_Read_RegsIn(ModbusContext *context, quint16 start, quint16 count)
    : context(context)
    , start(start)
    , count(count)
{ }

bool Cmm_Read_RegsIn::run()
{
    ok = readRegisters(context, Modbus::readInputRegisters, start, count, &result);
    return ok;
}

} // namespace CmmNamespace
