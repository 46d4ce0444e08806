#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// What one good frame says, read from its address and PDU for the side that
// sent it.
struct FrameContent
{
    enum class Kind {
        Plain, // the function's own fields
        Exception,
        MacroWrite, // function 16 at register 0 with a macro payload whose checks hold
        MacroRead, // function 0x41
        Identification, // the vendor's fixed-length 0x11 reply
        ServerId, // the standard 0x11 reply with a byte count
        DeviceIdentification, // function 43, MEI type 14
    };
    struct DeviceObject
    {
        quint8 id;
        QByteArray value;
    };

    Kind kind = Kind::Plain;
    quint8 address = 0;
    quint8 function = 0; // without the exception bit
    int exceptionCode = -1;
    int start = -1; // first register, coil or input; -1 when the frame names none
    int count = -1; // quantity asked, written or echoed; -1 when the frame names none
    // Register values; bits as 0 or 1; macro parameters or answer words.
    QVector<quint16> values;
    int macroCode = -1;
    int macroSpecification = -1;
    int identificationVersion = -1;
    QByteArray text; // identification text (Latin-1); server identification bytes
    int objectCode = -1; // 43/14: read device id code and object id asked
    int objectId = -1;
    QVector<DeviceObject> objects;
    // The PDU's fields do not agree with each other (a byte count that is
    // not the quantity's, a coil value other than on or off, a macro payload
    // whose complements do not hold).
    bool malformed = false;
};
