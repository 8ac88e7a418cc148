#pragma once

#include <cstddef>
#include <cstdint>

// The bytes an art entry is decoded from: the art file itself, or an entry
// that was unpacked into memory. Reads are positional and come back short
// only where the bytes end; a negative position reads nothing.
class TArtBytes
{
public:
    virtual ~TArtBytes() = default;
    virtual std::size_t ReadAt(std::int64_t Position, void *Buffer, std::size_t Length) = 0;
};
