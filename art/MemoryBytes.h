#pragma once

#include "art/ArtBytes.h"

#include <algorithm>
#include <cstring>
#include <vector>

// An art entry held in memory, read as the decoders read a file.
class TMemoryBytes : public TArtBytes
{
public:
    explicit TMemoryBytes(const std::vector<unsigned char> &Bytes)
        : FBytes(Bytes)
    {
    }

    std::size_t ReadAt(std::int64_t Position, void *Buffer, std::size_t Length) override
    {
        if (Position < 0 || std::uint64_t(Position) >= FBytes.size())
            return 0;
        const std::size_t n = std::min(Length, FBytes.size() - std::size_t(Position));
        std::memcpy(Buffer, FBytes.data() + Position, n);
        return n;
    }

private:
    const std::vector<unsigned char> &FBytes;
};
