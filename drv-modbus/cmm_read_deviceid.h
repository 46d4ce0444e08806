#pragma once

#include "cmm.h"

#include <QByteArray>
#include <QMap>

struct ModbusContext;

namespace CmmNamespace {

// Reads a device's identification objects (function 43, MEI type 14) of a
// category (read code 1 basic, 2 regular, 3 extended) from object 0 on,
// following "more follows" from request to request. A device that still has
// more to follow after MaxRequests requests makes the command fail with
// incomplete() set, rather than keep it asking for ever.
class Cmm_Read_DeviceId : public Cmm
{
public:
    static constexpr int MaxRequests = 64;

    Cmm_Read_DeviceId(ModbusContext *context, int readCode);
    bool run() override;

    // Object identifier to value, after a successful run.
    const QMap<int, QByteArray> &objects() const { return result; }
    // True when the run ended at MaxRequests with more to follow.
    bool incomplete() const { return endless; }

private:
    ModbusContext *context;
    int readCode;
    QMap<int, QByteArray> result;
    bool endless = false;
};

} // namespace CmmNamespace
