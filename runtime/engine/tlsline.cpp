// The TLS line (Modbus/TCP Security): MBAP framing inside a TLS session.

#include "mbapframe.h"
#include "tlsstream.h"

namespace Modbus {

namespace {

constexpr int UnitAny = 255;

struct TlsLine
{
    explicit TlsLine(TlsFiles files)
        : stream(std::move(files))
    { }

    TlsStream stream;
    uint16_t transactionId = 0; // taken before every request
};

} // namespace

ModbusContext *newTlsContext(const char *ipAddress, int port, const TlsFiles &files)
{
    return newNetworkContext<TlsLine>(&Mbap::backend<TlsLine>, ipAddress, port, UnitAny, files);
}

} // namespace Modbus
