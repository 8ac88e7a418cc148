#pragma once

#include <string>

// Holds back the requests to stop that a user or the system sends a program
// while an object of this class lives, and acts on them when it goes: on
// POSIX every signal whose default ends the program and that is not tied to
// a fault of its own code (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1,
// SIGXCPU, SIGALRM and the like), and SIGTSTP (Ctrl+Z), which would stop
// the program with the file held; on Windows the console's Ctrl+C,
// Ctrl+Break, close, log-off and shut-down events. A save writing over a
// file, or putting its old bytes back, is thereby never cut off halfway:
// the program stops, as asked, once the file is whole.
//
// SIGXFSZ, which a write past the process's file-size limit would end the
// program with, is ignored meanwhile, so that such a write fails with "File
// too large" and its bytes are put back like those of any failed write.
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

    // Says that the work held together failed with Message, about to be
    // thrown to the caller. A signal that then ends the program at the
    // deferral's end would leave the failure untold, so the message is told
    // first, the way the program tells its failures.
    void Failing(const std::string &Message);

    // Says that the work held together is done, What saying how ("the save
    // completed: 5,000 tiles written"). A signal that then ends the program
    // at the deferral's end is told first, so that the user learns the work
    // is whole although the program stops without its report:
    //   stopped by SIGINT after the save completed: 5,000 tiles written
    void Completed(const std::string &What);

    // How the program tells a failure: by default its message on a line of
    // its own on standard error; a command-line tool adds its name, as on
    // every line it prints there.
    using Teller = void (*)(const std::string &Message);
    static void TellFailuresWith(Teller Tell);

private:
    // The same on every system: what Failing or Completed noted, told as
    // the program ends by Signal ("SIGINT", "Ctrl+C"), or forgotten.
    static void TellEnding(const std::string &Signal);
    static void ForgetFailure();
};
