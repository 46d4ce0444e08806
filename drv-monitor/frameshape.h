#pragma once

#include <QtGlobal>

// The lengths a Modbus frame may have, told from its first bytes (address,
// function code and the fields that give a length), for each side that may
// have sent it. Lengths count the address and the PDU, not the checksum.
//
// Shapes known: functions 1 to 6, 15 and 16, the vendor's identification
// 0x11 (fixed reply lengths 12, 14, 16, 18) and the standard one (byte
// count), the vendor's macro read 0x41, 43 with MEI type 14, and exception
// replies of all of these. Address 0 (broadcast) is a request only; addresses
// above 247 are no device's.
namespace FrameShape {

// Longest address and PDU of an RTU frame (256 bytes with the CRC).
constexpr int MaxAduLength = 254;

struct Candidate
{
    int length; // address and PDU
    quint8 roles; // BusFrame::Request | BusFrame::Reply
};

struct Candidates
{
    // More bytes needed before the lengths can be told; 0 once they can.
    int needed = 0;
    int count = 0; // none: no frame of a known shape starts here
    Candidate list[8] = {};
};

// What a frame whose first available bytes these are may be.
Candidates of(const quint8 *adu, int available);

// The roles whose lengths a whole address and PDU fits; 0 for none.
quint8 rolesOf(const quint8 *adu, int length);

// Whether a frame may start with this address and function code.
bool isKnownStart(quint8 address, quint8 function);

} // namespace FrameShape
