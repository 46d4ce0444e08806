#include "cmm_read_deviceid.h"

#include "flushedcall.h"

namespace CmmNamespace {

Cmm_Read_DeviceId::Cmm_Read_DeviceId(ModbusContext *context, int readCode)
    : context(context)
    , readCode(readCode)
{ }

bool Cmm_Read_DeviceId::run()
{
    result.clear();
    endless = false;
    Modbus::DeviceIdReply reply;
    int objectId = 0;
    for (int request = 0; request < MaxRequests; ++request) {
        ok = flushedCall(context, AnyCount, &error,
            [&] { return Modbus::readDeviceIdentification(context, readCode, objectId, &reply); });
        if (!ok) {
            result.clear();
            return ok;
        }
        for (int i = 0; i < reply.objectCount; ++i) {
            const Modbus::DeviceIdReply::Object &object = reply.objects[i];
            result.insert(object.id,
                QByteArray(
                    reinterpret_cast<const char *>(reply.values + object.offset), object.length));
        }
        if (!reply.moreFollows) {
            ok = true;
            return ok;
        }
        // The engine has made sure the next object lies beyond this one.
        objectId = reply.nextObjectId;
    }
    endless = true;
    result.clear();
    ok = false;
    error = 0;
    return ok;
}

} // namespace CmmNamespace
