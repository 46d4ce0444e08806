#pragma once

#include "framecontent.h"

// Reads a good frame's address and PDU: a request when reply is false,
// otherwise a reply.
namespace FrameDecoder {

FrameContent decode(const QByteArray &adu, bool reply);

} // namespace FrameDecoder
