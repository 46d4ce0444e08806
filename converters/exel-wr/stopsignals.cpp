#include "stopsignals.h"

#include <csignal>
#include <initializer_list>

namespace StopSignals {

namespace {

// The signal noted, 0 for none; and whether a signal ends the program at once.
volatile std::sig_atomic_t noted = 0;
volatile std::sig_atomic_t atOnce = 0;

extern "C" void onStopSignal(int number)
{
    if (!atOnce) {
        noted = number;
        return;
    }
    // The signal is blocked while its handler runs: it ends the program, by
    // the default action, as soon as the handler returns.
    std::signal(number, SIG_DFL);
    std::raise(number);
}

} // namespace

void install()
{
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM}) {
        struct sigaction previous = {};
        if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(number, &action, nullptr);
    }
}

bool requested()
{
    return noted != 0;
}

void endAtOnce()
{
    atOnce = 1;
    if (noted) {
        std::signal(noted, SIG_DFL);
        std::raise(noted);
    }
}

} // namespace StopSignals
