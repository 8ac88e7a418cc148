#include "platform/SharedReadFile.h"

#include "platform/Error.h"

#include <limits>
#include <new>

// The reads of exact lengths rest on ReadAt and are the same on every system.

void SharedReadFile::ReadExactAt(std::int64_t offset, void *buffer, std::size_t length) const
{
    if (ReadAt(offset, buffer, length) != length)
        throw Error("Stream read error");
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
