#pragma once

#include <cstddef>
#include <cstdint>

// The two 32-bit halves of Bob Jenkins' lookup3 hashlittle2: C is the
// primary result, B the second one.
struct TLookup3Hash
{
    std::uint32_t C = 0;
    std::uint32_t B = 0;
};

// hashlittle2 of Length bytes at Key, started from the initial values C
// and B. The bytes are read as little-endian words on every machine, so
// the result does not depend on the machine's byte order or alignment.
TLookup3Hash HashLittle2(const void *Key, std::size_t Length, std::uint32_t C = 0, std::uint32_t B = 0);
