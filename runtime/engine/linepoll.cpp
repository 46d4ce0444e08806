// The one wait of both lines: the line's descriptor together with the
// context's cancel descriptor, so a stop request ends any wait at once.

#include "modbuscontext.h"

#include <cerrno>
#include <poll.h>

namespace Modbus {
namespace Core {

int pollLine(const ModbusContext *context, int fd, short events, int timeoutMs, short *revents)
{
    pollfd ready[2] = {{fd, events, 0}, {context->cancelDescriptor, POLLIN, 0}};
    const nfds_t count = context->cancelDescriptor >= 0 ? 2 : 1;
    const int rc = poll(ready, count, timeoutMs);
    if (rc <= 0)
        return rc;
    // A readable, closed or broken cancel descriptor all mean: stop.
    if (count == 2 && ready[1].revents != 0) {
        errno = ECANCELED;
        return -1;
    }
    if (revents)
        *revents = ready[0].revents;
    return 1;
}

} // namespace Core
} // namespace Modbus
