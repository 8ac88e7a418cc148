#include "platform/SharedReadFile.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"

#include <limits>
#include <new>

// The reads of exact lengths rest on ReadAt and are the same on every system.

namespace {

// "1,036,288".
std::string WithThousands(std::int64_t Value)
{
    std::string digits = std::to_string(Value);
    for (int at = int(digits.size()) - 3; at > (Value < 0 ? 1 : 0); at -= 3)
        digits.insert(std::size_t(at), ",");
    return digits;
}

} // namespace

void SharedReadFile::ReadExactAt(std::int64_t offset, void *buffer, std::size_t length) const
{
    const std::size_t got = ReadAt(offset, buffer, length);
    if (got == length)
        return;
    // Bytes asked for beyond the length the file had when opened are the
    // caller's mistake; within it, the file has shrunk since.
    const std::int64_t end = offset + static_cast<std::int64_t>(got);
    if (offset < 0 || offset + static_cast<std::int64_t>(length) > FSize)
        throw Error("Stream read error");
    throw Error(FileSystem::NativeSeparators(FPath) + ": the file ended at byte " + WithThousands(end)
                + " while it was read, though it was " + WithThousands(FSize)
                + " bytes long when opened; another program is changing it, so try again once it is done");
}

std::vector<unsigned char> ReadWholeFile(const std::string &path)
{
    SharedReadFile file(path);
    const std::int64_t size = file.Size();
    // Memory streams are limited to what a signed 32-bit length can address.
    if (size > std::numeric_limits<std::int32_t>::max())
        throw Error("Out of memory while expanding memory stream");
    std::vector<unsigned char> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc &) {
        throw Error("Out of memory while expanding memory stream");
    }
    file.ReadExactAt(0, bytes.data(), bytes.size());
    return bytes;
}
