#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Hands out the bytes of one fuzz input front to back. Once the input is
// used up every value reads as zero, so a harness never has to check what
// is left before it takes something.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *Data, std::size_t Size);

    bool Empty() const { return FAt >= FSize; }
    std::size_t Remaining() const { return Empty() ? 0 : FSize - FAt; }

    std::uint8_t Byte();
    std::uint16_t Word(); // little-endian
    std::uint32_t Long(); // little-endian

    // The next Count bytes, or fewer when the input ends first.
    std::vector<std::uint8_t> Bytes(std::size_t Count);
    // Everything not yet taken.
    std::vector<std::uint8_t> Rest();

private:
    const std::uint8_t *FData;
    std::size_t FSize;
    std::size_t FAt = 0;
};
