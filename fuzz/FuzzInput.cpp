#include "fuzz/FuzzInput.h"

#include <algorithm>

FuzzInput::FuzzInput(const std::uint8_t *Data, std::size_t Size)
    : FData(Data)
    , FSize(Size)
{
}

std::uint8_t FuzzInput::Byte()
{
    return Empty() ? 0 : FData[FAt++];
}

std::uint16_t FuzzInput::Word()
{
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
}

std::uint32_t FuzzInput::Long()
{
    const std::uint32_t low = Word();
    return low | (std::uint32_t(Word()) << 16);
}

std::vector<std::uint8_t> FuzzInput::Bytes(std::size_t Count)
{
    const std::size_t n = std::min(Count, Remaining());
    std::vector<std::uint8_t> bytes(FData + FAt, FData + FAt + n);
    FAt += n;
    return bytes;
}

std::vector<std::uint8_t> FuzzInput::Rest()
{
    return Bytes(Remaining());
}
