#include "platform/FileProbe.h"

#include <cerrno>
#include <utility>

namespace FileProbe {

namespace {

Probe &Current()
{
    static Probe probe;
    return probe;
}

int &CurrentError()
{
    static int error = EIO;
    return error;
}

} // namespace

Probe Set(Probe probe)
{
    return std::exchange(Current(), std::move(probe));
}

bool Fails(Step step, const std::string &path, std::int64_t offset)
{
    const Probe &probe = Current();
    return probe && probe(step, path, offset);
}

int SetFailureError(int error)
{
    return std::exchange(CurrentError(), error);
}

int FailureError()
{
    return CurrentError();
}

} // namespace FileProbe
