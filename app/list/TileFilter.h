#pragma once

#include "app/list/NameMatch.h"

#include <cstdint>

// Which tiles the list shows: those whose name contains a text and whose
// flags have given bits set and others clear. The empty filter takes every
// tile.
class TTileFilter
{
public:
    enum class FlagState
    {
        Any,
        Set,
        Clear,
    };

    void SetName(const QString &Text) { FName = TNameMatch(Text); }
    void SetFlag(int Bit, FlagState State);
    FlagState Flag(int Bit) const;

    bool IsEmpty() const { return FName.IsEmpty() && FMustSet == 0 && FMustClear == 0; }
    // NameOf gives the tile's name; it is asked only when the flags match
    // and the filter has a name to look for, names costing far more.
    template <typename NameOf>
    bool Matches(std::uint64_t Flags, NameOf &&Name) const
    {
        if ((Flags & FMustSet) != FMustSet || (Flags & FMustClear) != 0)
            return false;
        return FName.IsEmpty() || FName.In(Name());
    }

private:
    TNameMatch FName;
    std::uint64_t FMustSet = 0;
    std::uint64_t FMustClear = 0;
};
