#include "platform/SignalDeferral.h"

#include <csignal>

namespace {

// The signals whose default ends the program and that come from outside
// its own code; faults such as SIGSEGV or SIGABRT cannot wait. SIGTSTP
// (Ctrl+Z) only stops the program, but a program stopped halfway through a
// save keeps the file held, and a half-written file in view of others.
struct TDeferred
{
    int Number;
    const char *Name;
};
constexpr TDeferred Deferred[] = {
    {SIGINT, "SIGINT"},     {SIGTERM, "SIGTERM"},     {SIGHUP, "SIGHUP"},   {SIGQUIT, "SIGQUIT"},
    {SIGUSR1, "SIGUSR1"},   {SIGUSR2, "SIGUSR2"},     {SIGALRM, "SIGALRM"}, {SIGXCPU, "SIGXCPU"},
    {SIGPIPE, "SIGPIPE"},   {SIGVTALRM, "SIGVTALRM"}, {SIGPROF, "SIGPROF"}, {SIGTSTP, "SIGTSTP"},
#ifdef SIGPWR
    {SIGPWR, "SIGPWR"},
#endif
#ifdef SIGSTKFLT
    {SIGSTKFLT, "SIGSTKFLT"},
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
        if (Deferred[k].Number == Signal)
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
        SetAction(Deferred[k].Number, NoteDeferredSignal, &Previous[k]);
    }
    SetAction(SIGXFSZ, SIG_IGN, &PreviousFileSizeAction);
}

SignalDeferral::~SignalDeferral()
{
    if (--Depth > 0)
        return;
    ::sigaction(SIGXFSZ, &PreviousFileSizeAction, nullptr);
    const char *ending = nullptr;
    for (int k = 0; k < DeferredCount; ++k) {
        ::sigaction(Deferred[k].Number, &Previous[k], nullptr);
        if (!ending && Arrived[k] && Previous[k].sa_handler == SIG_DFL && Deferred[k].Number != SIGTSTP)
            ending = Deferred[k].Name;
    }
    if (ending)
        TellEnding(ending);
    // Sent again to ourselves, each now meets the program's own handling:
    // its handler, being ignored, or the default, which ends the process
    // (or, for SIGTSTP, stops it until it is continued).
    for (int k = 0; k < DeferredCount; ++k) {
        if (Arrived[k])
            ::raise(Deferred[k].Number);
    }
}
