#include "platform/SignalDeferral.h"

#include "platform/StandardStream.h"

// The failure, or the finished work, that a signal must not leave untold,
// on every system.

namespace {

std::string FailureMessage;
std::string Completion;

void TellOnStandardError(const std::string &Message)
{
    StandardStream::Write(StandardStream::Stream::Error, Message + "\n");
}

SignalDeferral::Teller Tell = TellOnStandardError;

} // namespace

void SignalDeferral::Failing(const std::string &Message)
{
    FailureMessage = Message;
}

void SignalDeferral::TellFailuresWith(Teller Told)
{
    Tell = Told ? Told : TellOnStandardError;
}

void SignalDeferral::Completed(const std::string &What)
{
    Completion = What;
}

void SignalDeferral::TellEnding(const std::string &Signal)
{
    if (!FailureMessage.empty())
        Tell(FailureMessage);
    else if (!Completion.empty())
        Tell("stopped by " + Signal + " after " + Completion);
}

void SignalDeferral::ForgetFailure()
{
    FailureMessage.clear();
    Completion.clear();
}
