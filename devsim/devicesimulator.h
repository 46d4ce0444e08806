#pragma once

#include "deviceprofile.h"
#include "faultplan.h"
#include "modbusslave.h"

#include <QByteArray>
#include <QVector>

// The devices on one line: picks the device a request is for, counts the
// request, chooses its faults and has the device carry it out.
class DeviceSimulator
{
public:
    // What to send back for one request.
    struct Outcome
    {
        bool forUs = false; // false: another device's request, not counted
        bool answer = false; // false: stay silent
        bool drop = false; // close the connection instead of answering
        int address = 0; // the address (unit identifier) the reply carries
        QByteArray reply; // protocol data unit of the reply
        ActiveFaults faults;
    };

    DeviceSimulator(
        const QVector<DeviceProfile> &devices, ModbusSlave &slave, const FaultPlan &faults);

    // Address 0 is answered by the first device only when asked for. Without
    // that, a broadcast write (function 16) is carried out without a reply,
    // as real devices do, and any other broadcast is ignored.
    void setAnswerBroadcast(bool on) { answerBroadcast = on; }

    // One request on the serial line: only the devices' own addresses (and 0,
    // see above) are served, everything else is ignored.
    Outcome handleRtu(int address, const QByteArray &request);
    // One request over TCP: the unit identifier selects the device, 255 the
    // first device; an unknown unit gets exception 0x0B (target failed to respond).
    Outcome handleTcp(int unit, const QByteArray &request);

    int requestCount() const { return requests; }

    // Applies the faults that change the reply's content (exception aside);
    // request is the one the reply answers.
    static QByteArray distort(const QByteArray &reply, const ActiveFaults &faults,
        const QByteArray &request = QByteArray());

private:
    const DeviceProfile *deviceFor(int address) const;
    Outcome handle(const DeviceProfile &device, const QByteArray &request);

    QVector<DeviceProfile> devices;
    ModbusSlave &slave;
    const FaultPlan &faults;
    bool answerBroadcast = false;
    int requests = 0;
};
