#pragma once

#include "cmm.h"
#include "flushedcall.h"

#include <QVector>

struct ModbusContext;

namespace CmmNamespace {

// Reads registers (Unit quint16) or bits (quint8, each 0 or 1) in one
// request through the engine function given; only a full reply counts. The
// driver gives at most 120 registers or 2000 bits.
template<typename Unit> class RangeRead : public Cmm
{
public:
    // The engine function that reads count units from start into a buffer
    // of count units.
    using ReadFunction = int (*)(ModbusContext *, int, int, Unit *);

    bool run() override
    {
        result.clear();
        QVector<Unit> buffer(count);
        ok = flushedCall(
            context, count, &error, [&] { return read(context, start, count, buffer.data()); });
        if (ok)
            result = buffer;
        return ok;
    }
    // The values of a successful run, in address order; empty otherwise.
    const QVector<Unit> &values() const { return result; }

protected:
    RangeRead(ModbusContext *context, ReadFunction read, quint16 start, quint16 count)
        : context(context)
        , read(read)
        , start(start)
        , count(count)
    { }

private:
    ModbusContext *context;
    ReadFunction read;
    quint16 start;
    quint16 count;
    QVector<Unit> result;
};

} // namespace CmmNamespace
