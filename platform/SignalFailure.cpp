#include "platform/SignalDeferral.h"

#include "platform/StandardStream.h"

// The failure a signal must not leave untold, on every system.

namespace {

std::string FailureMessage;

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

void SignalDeferral::TellFailure()
{
    if (!FailureMessage.empty())
        Tell(FailureMessage);
}

void SignalDeferral::ForgetFailure()
{
    FailureMessage.clear();
}
