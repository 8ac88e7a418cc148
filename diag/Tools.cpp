#include "diag/Tools.h"

#include "platform/LocalTime.h"
#include "platform/Process.h"
#include "platform/TextFile.h"

#include <memory>

namespace {

// The one log object of the run; nothing reads it, it only has to live
// until the process ends.
std::unique_ptr<Tdebug> &SessionLog()
{
    static std::unique_ptr<Tdebug> instance;
    return instance;
}

} // namespace

Tdebug::Tdebug()
{
    // The log sits beside the executable under its full name, extension and
    // all, so that it can never be mistaken for another program's log.
    TextFile log(Process::ExecutablePath() + ".log");
    const LocalTime::TimeSettings settings = LocalTime::UserTimeSettings();
    log.Write("Session Startet: " + LocalTime::FormatLongTime(settings, LocalTime::Now()) + "\r\n");
    log.Close();
}

void InitializeTools()
{
    if (!SessionLog())
        SessionLog() = std::make_unique<Tdebug>();
}
