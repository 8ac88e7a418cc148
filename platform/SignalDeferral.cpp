#include "platform/SignalDeferral.h"

#include <csignal>

namespace {

// The signals whose default ends the program and that come from outside
// its own code; faults such as SIGSEGV or SIGABRT cannot wait.
constexpr int Deferred[] = {SIGINT,   SIGTERM, SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2,
                            SIGALRM,  SIGXCPU, SIGPIPE, SIGVTALRM, SIGPROF,
#ifdef SIGPWR
                            SIGPWR,
#endif
#ifdef SIGSTKFLT
                            SIGSTKFLT,
#endif
};
constexpr int DeferredCount = sizeof(Deferred) / sizeof(Deferred[0]);

volatile std::sig_atomic_t Arrived[DeferredCount];
struct sigaction Previous[DeferredCount];
struct sigaction PreviousFileSizeAction;
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

void SetAction(int Signal, void (*Handler)(int), struct sigaction *Old)
{
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(Signal, &action, Old);
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
    ForgetFailure();
    for (int k = 0; k < DeferredCount; ++k) {
        Arrived[k] = 0;
        SetAction(Deferred[k], NoteDeferredSignal, &Previous[k]);
    }
    SetAction(SIGXFSZ, SIG_IGN, &PreviousFileSizeAction);
}

SignalDeferral::~SignalDeferral()
{
    if (--Depth > 0)
        return;
    ::sigaction(SIGXFSZ, &PreviousFileSizeAction, nullptr);
    bool ending = false;
    for (int k = 0; k < DeferredCount; ++k) {
        ::sigaction(Deferred[k], &Previous[k], nullptr);
        ending = ending || (Arrived[k] && Previous[k].sa_handler == SIG_DFL);
    }
    if (ending)
        TellFailure();
    // Sent again to ourselves, each now meets the program's own handling:
    // its handler, being ignored, or the default, which ends the process.
    for (int k = 0; k < DeferredCount; ++k) {
        if (Arrived[k])
            ::raise(Deferred[k]);
    }
}
