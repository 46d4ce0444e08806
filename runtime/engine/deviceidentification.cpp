// The standard device identification: function 43 with MEI type 14, one
// request of objects (identifier, length, value) at a time.

#include "modbuscontext.h"

#include <cerrno>
#include <cstring>

namespace Modbus {

int readDeviceIdentification(
    ModbusContext *context, int readCode, int objectId, DeviceIdReply *result)
{
    if (!context || !result || readCode < DeviceIdBasic || readCode > DeviceIdIndividual
        || objectId < 0 || objectId > 0xFF) {
        errno = EINVAL;
        return -1;
    }
    uint8_t request[FrameBufferSize];
    uint8_t reply[FrameBufferSize];
    // The request after the function code is MEI type, read code and object,
    // one byte less than the start and quantity of the header.
    int length = Core::buildRequest(context, FunctionDeviceIdentification,
        MeiReadDeviceId << 8 | readCode, objectId << 8, request);
    if (length == -1)
        return -1;
    length -= 1;
    if (Core::exchange(context, request, length, reply) == -1)
        return -1;

    // The checks have matched the objects to the reply's length.
    const uint8_t *data = reply + context->backend->headerLength;
    result->conformityLevel = data[3];
    result->moreFollows = data[4] == 0xFF;
    result->nextObjectId = data[5];
    result->objectCount = data[6];
    if (result->objectCount > DeviceIdReply::MaxObjects) { // no frame holds more
        errno = InvalidData;
        return -1;
    }
    int at = 7;
    int offset = 0;
    for (int i = 0; i < result->objectCount; ++i) {
        DeviceIdReply::Object &object = result->objects[i];
        object.id = data[at];
        object.length = data[at + 1];
        object.offset = offset;
        std::memcpy(result->values + offset, data + at + 2, size_t(object.length));
        offset += object.length;
        at += 2 + object.length;
    }
    return result->objectCount;
}

} // namespace Modbus
