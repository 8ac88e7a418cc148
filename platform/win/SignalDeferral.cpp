#include "platform/SignalDeferral.h"

#include <windows.h>

namespace {

int Depth = 0;
// The Ctrl+C or Ctrl+Break event that arrived meanwhile, or -1.
volatile LONG Arrived = -1;

// Set when the deferral ends; the handler of an event that ends the
// process waits for it.
HANDLE Ended()
{
    static const HANDLE ended = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return ended;
}

// Runs on a thread of its own. Ctrl+C and Ctrl+Break are noted and acted on
// later. Closing the console, logging off and shutting down end the process
// as soon as a handler returns, whatever it answers: so the handler returns
// only once the file is whole (the system allows a few seconds).
BOOL WINAPI NoteEvent(DWORD Event)
{
    if (Event == CTRL_C_EVENT || Event == CTRL_BREAK_EVENT) {
        ::InterlockedExchange(&Arrived, static_cast<LONG>(Event));
        return TRUE;
    }
    ::WaitForSingleObject(Ended(), INFINITE);
    return FALSE;
}

} // namespace

SignalDeferral::SignalDeferral()
{
    if (Depth++ > 0)
        return;
    ::InterlockedExchange(&Arrived, -1);
    ForgetFailure();
    ::ResetEvent(Ended());
    ::SetConsoleCtrlHandler(NoteEvent, TRUE);
}

SignalDeferral::~SignalDeferral()
{
    if (--Depth > 0)
        return;
    ::SetEvent(Ended());
    ::SetConsoleCtrlHandler(NoteEvent, FALSE);
    // The programs install no console handler of their own, so acting on a
    // held-back Ctrl+C or Ctrl+Break is what the system would have done
    // with it: end the process.
    const LONG arrived = ::InterlockedCompareExchange(&Arrived, -1, -1);
    if (arrived != -1) {
        TellEnding(arrived == CTRL_BREAK_EVENT ? "Ctrl+Break" : "Ctrl+C");
        ::ExitProcess(STATUS_CONTROL_C_EXIT);
    }
}
