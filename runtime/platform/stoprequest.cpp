#include "stoprequest.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace StopRequest {

namespace {

// Written by the handler, read by the program; plain ints are enough for a
// descriptor that is set once before the handler is installed.
int pipeEnds[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already tells the request; nothing else can fail here.
    if (::write(pipeEnds[1], &byte, 1) == -1) { }
    errno = saved;
}

} // namespace

bool install()
{
    if (pipeEnds[0] != -1)
        return true;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == -1)
        return false;
    pipeEnds[0] = ends[0];
    pipeEnds[1] = ends[1];

    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Calls under way resume after the handler: the pipe, not EINTR, carries
    // the request.
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

int descriptor()
{
    return pipeEnds[0];
}

bool isSignalled(int descriptor)
{
    if (descriptor < 0)
        return false;
    pollfd ready {descriptor, POLLIN, 0};
    int rc;
    do
        rc = poll(&ready, 1, 0);
    while (rc == -1 && errno == EINTR);
    return rc > 0;
}

} // namespace StopRequest
