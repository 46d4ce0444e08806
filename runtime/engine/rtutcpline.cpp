// RTU over TCP: RTU frames, CRC included, on a TCP stream, as the serial
// gateways that pass frames through unchanged take them.

#include "rtuframe.h"
#include "tcpstream.h"

namespace Modbus {

namespace {

struct RtuTcpLine
{
    TcpStream stream;
};

} // namespace

ModbusContext *newRtuTcpContext(const char *ipAddress, int port)
{
    // The device address starts unset, as on the serial line.
    return newNetworkContext<RtuTcpLine>(&Rtu::backend<RtuTcpLine>, ipAddress, port, -1);
}

} // namespace Modbus
