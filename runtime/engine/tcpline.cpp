// The TCP line: MBAP framing on a TCP stream.

#include "mbapframe.h"
#include "tcpstream.h"

namespace Modbus {

namespace {

constexpr int UnitAny = 255;

struct TcpLine
{
    TcpStream stream;
    uint16_t transactionId = 0; // taken before every request
};

} // namespace

ModbusContext *newTcpContext(const char *ipAddress, int port)
{
    return newNetworkContext<TcpLine>(&Mbap::backend<TcpLine>, ipAddress, port, UnitAny);
}

} // namespace Modbus
