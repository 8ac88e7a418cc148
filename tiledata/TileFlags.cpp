#include "tiledata/TileFlags.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// Bit k is entry k. Bit 7 reads "Liquid" although the window names its box
// cbWet; "&Weapon" and "&Wall" share the accelerator letter.
constexpr std::array<const char *, FlagCount> Captions = {
    "&Background", "&Weapon",   "&Transparent", "Translu&cent", "&Wall",        "&Damaging",   "&Impassable",
    "&Liquid",     "Unknown1",  "Surface",      "Bridge",       "Generic/Stack", "Window",     "NoShoot",
    "Article 'A'", "Article 'AN'", "Mongen",    "Foliage",      "Partialhue",   "Unknown2",    "Map",
    "Container",   "Wearable",  "Lightsource",  "Animated",     "Nodiagonal",   "Unknown3",    "Armor",
    "Roof",        "Door",      "Stairsback",   "StairRight",
};

// The upper bits that have names. Their meaning comes from what players
// found out, not from the game's maker, and may be refined.
constexpr struct { int Bit; const char *Name; } UpperNames[] = {
    {36, "NoShadow"},
    {37, "PixelBleed"},
};

// The upper bits' captions: their names, or "Bit 32" to "Bit 63"; made once.
const std::array<std::string, WideFlagCount - FlagCount> &UpperCaptions()
{
    static const std::array<std::string, WideFlagCount - FlagCount> captions = [] {
        std::array<std::string, WideFlagCount - FlagCount> table;
        for (int bit = FlagCount; bit < WideFlagCount; ++bit)
            table[std::size_t(bit - FlagCount)] = "Bit " + std::to_string(bit);
        for (const auto &upper : UpperNames)
            table[std::size_t(upper.Bit - FlagCount)] = upper.Name;
        return table;
    }();
    return captions;
}

} // namespace

const char *FlagCaption(int Bit)
{
    if (Bit >= FlagCount && Bit < WideFlagCount)
        return UpperCaptions()[std::size_t(Bit - FlagCount)].c_str();
    return Bit >= 0 && Bit < FlagCount ? Captions[std::size_t(Bit)] : "";
}

bool FlagHasName(int Bit)
{
    if (Bit >= 0 && Bit < FlagCount)
        return true;
    return std::any_of(std::begin(UpperNames), std::end(UpperNames),
                       [Bit](const auto &Upper) { return Upper.Bit == Bit; });
}

std::string FlagName(int Bit)
{
    std::string name = FlagCaption(Bit);
    name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
    return name;
}
