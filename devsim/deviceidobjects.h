#pragma once

#include <QByteArray>
#include <QMap>

// The identification objects of a device (function 43, MEI type 14): object
// identifier to value, and the replies that read them.
class DeviceIdObjects
{
public:
    // The longest value that fits one reply with its identifier and length.
    static constexpr int MaxValueLength = 244;

    // The basic objects every device has: vendor name, product code, revision.
    DeviceIdObjects();

    void set(int id, const QByteArray &value) { objects.insert(id, value); }
    const QMap<int, QByteArray> &all() const { return objects; }

    // The reply after the function code: MEI type, read code, conformity
    // level, more follows, next object, the objects. Read codes 1 to 3 give
    // the basic (0 to 2), regular (to 0x7F) or extended (to 0xFF) objects
    // from objectId on, starting again at object 0 when objectId names none
    // of them, as many as fit one reply; code 4 gives objectId alone. The
    // exception code for a request that cannot be answered: 3 for another
    // read code, 2 for a single object that the device does not have.
    QByteArray reply(int readCode, int objectId, int *exception) const;

private:
    int conformityLevel() const;

    QMap<int, QByteArray> objects;
};
