#include "platform/SignalDeferral.h"

#include <csignal>

namespace {

constexpr int Deferred[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int DeferredCount = sizeof(Deferred) / sizeof(Deferred[0]);

volatile std::sig_atomic_t Arrived[DeferredCount];
struct sigaction Previous[DeferredCount];
int Depth = 0;

// Only notes the signal: whatever the program does with it happens once
// the deferral ends.
extern "C" void NoteDeferredSignal(int Signal)
{
    for (int k = 0; k < DeferredCount; ++k) {
        if (Deferred[k] == Signal)
            Arrived[k] = 1;
    }
}

} // namespace

// A handler that notes the signal, rather than a blocked signal mask: a
// mask holds back only the signals sent to this thread, and a process-wide
// signal goes to any thread that does not block it (Qt runs threads of its
// own).
SignalDeferral::SignalDeferral()
{
    if (Depth++ > 0)
        return;
    for (int k = 0; k < DeferredCount; ++k) {
        Arrived[k] = 0;
        struct sigaction note {};
        note.sa_handler = NoteDeferredSignal;
        sigemptyset(&note.sa_mask);
        note.sa_flags = SA_RESTART;
        ::sigaction(Deferred[k], &note, &Previous[k]);
    }
}

SignalDeferral::~SignalDeferral()
{
    if (--Depth > 0)
        return;
    for (int k = 0; k < DeferredCount; ++k)
        ::sigaction(Deferred[k], &Previous[k], nullptr);
    // Sent again to ourselves, each now meets the program's own handling:
    // its handler, being ignored, or the default, which ends the process.
    for (int k = 0; k < DeferredCount; ++k) {
        if (Arrived[k])
            ::raise(Deferred[k]);
    }
}
