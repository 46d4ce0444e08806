#include "cmm_read_regs.h"

#include "cmm_read_regsin.h"
#include "engine/modbus.h"

#include <cerrno>

namespace CmmNamespace {

RegisterRead::RegisterRead(ModbusContext *context, ReadFunction read, quint16 start, quint16 count)
    : context(context)
    , read(read)
    , start(start)
    , count(count)
{ }

bool RegisterRead::run()
{
    result.clear();
    QVector<quint16> buffer(count);
    Modbus::flush(context);
    const int got = read(context, start, count, buffer.data());
    ok = got == count;
    if (!ok) {
        // Taken before the flush, which may touch errno. A reply of another
        // length than asked for is invalid data.
        error = got == -1 ? errno : int(Modbus::InvalidData);
        Modbus::flush(context);
        return ok;
    }
    error = 0;
    result = buffer;
    return ok;
}

Cmm_Read_Regs::Cmm_Read_Regs(ModbusContext *context, quint16 start, quint16 count)
    : RegisterRead(context, Modbus::readHoldingRegisters, start, count)
{ }

Cmm_Read_RegsIn::Cmm_Read_RegsIn(ModbusContext *context, quint16 start, quint16 count)
    : RegisterRead(context, Modbus::readInputRegisters, start, count)
{ }

} // namespace CmmNamespace
