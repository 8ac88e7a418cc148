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

Watcher &CurrentWatcher()
{
    static Watcher watcher;
    return watcher;
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

Watcher Watch(Watcher watcher)
{
    return std::exchange(CurrentWatcher(), std::move(watcher));
}

void Wrote(const std::string &path, std::int64_t offset, const void *data, std::size_t size)
{
    const Watcher &watcher = CurrentWatcher();
    if (watcher)
        watcher(path, offset, data, size);
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
