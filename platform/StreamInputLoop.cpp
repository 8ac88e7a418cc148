#include "platform/StreamInput.h"

#include "platform/Error.h"

namespace StreamInput {

std::vector<unsigned char> Watched(std::vector<unsigned char> bytes, const Watch &watch)
{
    if (watch)
        watch(bytes, 0);
    return bytes;
}

std::vector<unsigned char> ReadToEnd(const std::function<std::size_t(unsigned char *, std::size_t)> &ReadSome,
                                     std::size_t limit, const Watch &watch)
{
    constexpr std::size_t Piece = 64 * 1024;
    std::vector<unsigned char> bytes;
    for (;;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + Piece);
        const std::size_t n = ReadSome(bytes.data() + at, Piece);
        bytes.resize(at + n);
        if (n == 0)
            return bytes;
        if (watch)
            watch(bytes, at);
        // A device such as /dev/zero never ends: stop before it fills memory.
        if (bytes.size() > limit)
            throw Error("more than " + std::to_string(limit) + " bytes");
    }
}

} // namespace StreamInput
