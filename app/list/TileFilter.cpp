#include "app/list/TileFilter.h"

void TTileFilter::SetFlag(int Bit, FlagState State)
{
    if (Bit < 0 || Bit >= 64)
        return;
    const std::uint64_t mask = std::uint64_t(1) << Bit;
    FMustSet &= ~mask;
    FMustClear &= ~mask;
    if (State == FlagState::Set)
        FMustSet |= mask;
    else if (State == FlagState::Clear)
        FMustClear |= mask;
}

TTileFilter::FlagState TTileFilter::Flag(int Bit) const
{
    if (Bit < 0 || Bit >= 64)
        return FlagState::Any;
    const std::uint64_t mask = std::uint64_t(1) << Bit;
    if (FMustSet & mask)
        return FlagState::Set;
    return (FMustClear & mask) ? FlagState::Clear : FlagState::Any;
}
