#include "cmm_write_regs.h"

#include "engine/modbus.h"

#include <algorithm>
#include <cerrno>

namespace CmmNamespace {

Cmm_Write_Regs::Cmm_Write_Regs(ModbusContext *context, quint16 start, const QVector<quint16> &words)
    : context(context)
    , start(start)
    , words(words)
{ }

bool Cmm_Write_Regs::run()
{
    ok = true;
    error = 0;
    for (int done = 0; ok && done < words.size();) {
        const int count = std::min(MaxRegistersPerRequest, int(words.size()) - done);
        Modbus::flush(context);
        const int written
            = Modbus::writeRegisters(context, start + done, count, words.constData() + done);
        if (written != count) {
            // Taken before the flush, which may touch errno.
            error = written == -1 ? errno : int(Modbus::InvalidData);
            Modbus::flush(context);
            ok = false;
        }
        done += count;
    }
    return ok;
}

} // namespace CmmNamespace
