#include "devicesimulator.h"

DeviceSimulator::DeviceSimulator(
    const QVector<DeviceProfile> &devices, ModbusSlave &slave, const FaultPlan &faults)
    : devices(devices)
    , slave(slave)
    , faults(faults)
{ }

const DeviceProfile *DeviceSimulator::deviceFor(int address) const
{
    for (const DeviceProfile &device : devices) {
        if (device.address == address)
            return &device;
    }
    return nullptr;
}

DeviceSimulator::Outcome DeviceSimulator::handleRtu(int address, const QByteArray &request)
{
    const DeviceProfile *device = deviceFor(address);
    if (!device && address == 0 && !devices.isEmpty())
        device = &devices.first();
    if (!device)
        return Outcome();
    if (address == 0 && !answerBroadcast) {
        if (request.isEmpty() || static_cast<quint8>(request.at(0)) != 16)
            return Outcome();
        Outcome outcome = handle(*device, request);
        outcome.answer = false;
        outcome.drop = false;
        return outcome;
    }
    return handle(*device, request);
}

DeviceSimulator::Outcome DeviceSimulator::handleTcp(int unit, const QByteArray &request)
{
    const DeviceProfile *device = deviceFor(unit);
    if (!device && (unit == 255 || (unit == 0 && answerBroadcast)) && !devices.isEmpty())
        device = &devices.first();
    if (device) {
        Outcome outcome = handle(*device, request);
        outcome.address = unit;
        if (outcome.faults.otherAddress >= 0)
            outcome.address = outcome.faults.otherAddress;
        return outcome;
    }
    // No such unit behind this server: answered like a gateway would.
    Outcome outcome;
    outcome.forUs = true;
    ++requests;
    const int function = request.isEmpty() ? 0 : static_cast<quint8>(request.at(0));
    outcome.faults = faults.select(requests, function, unit);
    outcome.address = unit;
    outcome.answer = !outcome.faults.silent && !outcome.faults.drop;
    outcome.drop = outcome.faults.drop;
    outcome.reply = ModbusSlave::exceptionReply(function, 0x0B);
    return outcome;
}

DeviceSimulator::Outcome DeviceSimulator::handle(
    const DeviceProfile &device, const QByteArray &request)
{
    Outcome outcome;
    outcome.forUs = true;
    ++requests;
    const int function = request.isEmpty() ? 0 : static_cast<quint8>(request.at(0));
    outcome.faults = faults.select(requests, function, device.address);
    outcome.address
        = outcome.faults.otherAddress >= 0 ? outcome.faults.otherAddress : device.address;
    if (outcome.faults.drop) {
        outcome.drop = true;
        return outcome;
    }
    if (outcome.faults.silent)
        return outcome;
    if (outcome.faults.exceptionCode >= 0)
        outcome.reply = ModbusSlave::exceptionReply(function, outcome.faults.exceptionCode);
    else
        outcome.reply = slave.execute(device, request);
    if (outcome.reply.isEmpty())
        return outcome;
    outcome.reply = distort(outcome.reply, outcome.faults, request);
    outcome.answer = true;
    return outcome;
}

QByteArray DeviceSimulator::distort(
    const QByteArray &reply, const ActiveFaults &faults, const QByteArray &request)
{
    QByteArray result = reply;
    const int function = static_cast<quint8>(result.at(0));
    const bool exception = function & 0x80;
    const bool echo = function == 5 || function == 6 || function == 15 || function == 16;
    if (faults.badEcho && echo && result.size() == 5)
        result[4] = static_cast<char>(result.at(4) ^ 0x01);
    // Objects without end: each reply names the object after the one asked
    // for as the next, so a master that follows them never finishes.
    if (faults.moreFollows && function == 0x2B && result.size() >= 7 && request.size() >= 4) {
        result[4] = static_cast<char>(0xFF);
        result[5] = static_cast<char>((static_cast<quint8>(request.at(3)) + 1) & 0xFF);
    }
    if (function == 0x41 && !exception && result.size() >= 10) {
        if (faults.badCodeComplement)
            result[5] = static_cast<char>(result.at(5) ^ 0x01);
        if (faults.badSpecComplement)
            result[result.size() - 2] = static_cast<char>(result.at(result.size() - 2) ^ 0x01);
        if (faults.badCountComplement)
            result[result.size() - 1] = static_cast<char>(result.at(result.size() - 1) ^ 0x01);
    }
    if (faults.lengthDelta != 0) {
        const bool byteCounted = !exception
            && (function == 1 || function == 2 || function == 3 || function == 4
                || function == 0x41);
        if (faults.lengthDelta > 0)
            result.append(QByteArray(faults.lengthDelta, '\0'));
        else
            result.chop(qMin(-faults.lengthDelta, result.size() - 1));
        if (byteCounted && result.size() >= 2)
            result[1] = static_cast<char>(
                (static_cast<quint8>(result.at(1)) + faults.lengthDelta) & 0xFF);
    }
    return result;
}
