#pragma once

#include "deviceidobjects.h"

#include <QByteArray>
#include <QtGlobal>

// One simulated device on the line: its address and identity.
struct DeviceProfile
{
    // How the device treats the serial-number macro (code 226) on function 0x41.
    enum class SerialNumberMode {
        Answer, // answers with its serial number
        Silent, // does not answer at all
        Exception, // answers with exception 1 (illegal function)
    };

    int address = 1;
    int identificationVersion = 1; // 1 to 4: 10, 12, 14 or 16 identification bytes
    QByteArray identification = "qelDevSim"; // Latin-1 text
    quint16 serialNumber = 12345;
    SerialNumberMode serialNumberMode = SerialNumberMode::Answer;
    DeviceIdObjects idObjects; // function 43, MEI type 14

    static int identificationLength(int version) { return 8 + 2 * version; }
};
