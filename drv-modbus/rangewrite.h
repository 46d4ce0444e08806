#pragma once

#include "cmm.h"
#include "flushedcall.h"

#include <QVector>

#include <algorithm>

struct ModbusContext;

namespace CmmNamespace {

// Writes registers (Unit quint16) or coils (quint8, non-zero for on) at
// consecutive addresses from start, in requests of at most perRequest
// through the engine function given. The first failure ends the command, so
// nothing is written after a write that failed.
template<typename Unit> class RangeWrite : public Cmm
{
public:
    using WriteFunction = int (*)(ModbusContext *, int, int, const Unit *);

    bool run() override
    {
        ok = true;
        error = 0;
        for (int done = 0; ok && done < values.size();) {
            const int count = std::min(perRequest, int(values.size()) - done);
            ok = flushedCall(context, count, &error,
                [&] { return write(context, start + done, count, values.constData() + done); });
            done += count;
        }
        return ok;
    }

protected:
    RangeWrite(ModbusContext *context, WriteFunction write, int perRequest, quint16 start,
        const QVector<Unit> &values)
        : context(context)
        , write(write)
        , perRequest(perRequest)
        , start(start)
        , values(values)
    { }

private:
    ModbusContext *context;
    WriteFunction write;
    int perRequest;
    quint16 start;
    QVector<Unit> values;
};

} // namespace CmmNamespace
