#include "cmm_write_regs.h"

#include "engine/modbus.h"

#include <algorithm>

namespace CmmNamespace {

Cmm_Write_Regs::Cmm_Write_Regs(ModbusContext *context, quint16 start, const QVector<quint16> &words)
    : context(context)
    , start(start)
    , words(words)
{ }

bool Cmm_Write_Regs::run()
{
    ok = true;
    for (int done = 0; ok && done < words.size();) {
        const int count = std::min(MaxRegistersPerRequest, int(words.size()) - done);
        Modbus::flush(context);
        if (Modbus::writeRegisters(context, start + done, count, words.constData() + done)
            != count) {
            Modbus::flush(context);
            ok = false;
        }
        done += count;
    }
    return ok;
}

} // namespace CmmNamespace
