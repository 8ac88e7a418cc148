#include "platform/FileProbe.h"

#include <utility>

namespace FileProbe {

namespace {

Probe &Current()
{
    static Probe probe;
    return probe;
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

} // namespace FileProbe
