#pragma once

// Holds back the requests to stop that a user or the system sends a program
// (SIGINT, SIGTERM and SIGHUP; on Windows the console's Ctrl+C, Ctrl+Break,
// close, log-off and shut-down events) while an object of this class lives,
// and acts on them when it goes. A save writing over a file, or putting its
// old bytes back, is thereby never cut off halfway: the program stops, as
// asked, once the file is whole.
//
// Objects may nest; the outermost one acts on what arrived meanwhile, as
// the program would have acted without it (usually by ending). A program
// that ignores a signal goes on ignoring it. Used from one thread at a time.
class SignalDeferral
{
public:
    SignalDeferral();
    ~SignalDeferral();

    SignalDeferral(const SignalDeferral &) = delete;
    SignalDeferral &operator=(const SignalDeferral &) = delete;
};
