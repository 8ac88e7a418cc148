#include "tilecheck/TileCheck.h"

#include "tilecheck/RadarColours.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"
#include "tilelinks/AnimationReader.h"
#include "tilelinks/TextureReader.h"
#include "tiletext/TextAppend.h"


namespace {

constexpr std::uint64_t AnimationFlag = std::uint64_t(1) << 24;
constexpr int FirstUnnamedBit = 40;
// A message lists this many tiles, then says how many more there are.
constexpr std::size_t ListedTiles = 8;

std::string Hex(int Index)
{
    std::string out;
    if (Index < 0)
        out += '-';
    TextAppend::TileIndex(out, Index < 0 ? -Index : Index);
    return out;
}

// Thousands separated by commas, as the tool's other messages write them.
std::string Number(long long Value)
{
    std::string digits = std::to_string(Value < 0 ? -Value : Value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return Value < 0 ? "-" + digits : digits;
}

std::string TileList(const std::vector<int> &Tiles)
{
    std::string out;
    for (std::size_t i = 0; i < Tiles.size() && i < ListedTiles; ++i)
        out += (i == 0 ? "" : ", ") + Hex(Tiles[i]);
    if (Tiles.size() > ListedTiles)
        out += " and " + Number(static_cast<long long>(Tiles.size() - ListedTiles)) + " more";
    return out;
}

std::string Frames(const std::vector<int> &Tiles)
{
    return (Tiles.size() == 1 ? "frame " : "frames ") + TileList(Tiles);
}

} // namespace

TTileCheck::TTileCheck(const TTileData &Store, TCheckSources Sources, TRuleSet Chosen)
    : FStore(Store)
    , FSources(std::move(Sources))
{
    using namespace CheckRules;
    const bool animations = FSources.Animations != nullptr;
    const bool pictures = bool(FSources.HasPicture);
    TRuleSet possible = Bit(TCheckRule::UnnamedBits);
    if (animations)
        possible |= Bit(TCheckRule::AnimationWithoutEntry) | Bit(TCheckRule::AnimationFrameOutside)
                    | Bit(TCheckRule::EntryWithoutAnimation);
    if (animations && pictures)
        possible |= Bit(TCheckRule::AnimationFrameNoPicture);
    if (FSources.Textures != nullptr)
        possible |= Bit(TCheckRule::TextureMissing);
    if (FSources.Radar != nullptr && pictures)
        possible |= Bit(TCheckRule::RadarMissing);
    FRuns = possible & Chosen;
}

bool TTileCheck::Runs(TCheckRule Rule) const
{
    return (FRuns & CheckRules::Bit(Rule)) != 0;
}

void TTileCheck::Add(std::vector<TFinding> &Out, TTileKind Kind, int Index, TCheckRule Rule,
                     std::string Message) const
{
    Out.push_back({Kind, Index, Rule, std::move(Message)});
}

void TTileCheck::Tile(TTileKind Kind, int Index, std::vector<TFinding> &Out)
{
    if (Index < 0 || Index >= FStore.Count(Kind))
        return;
    if (Kind == TTileKind::Item)
        Item(Index, Out);
    else
        Land(Index, Out);
}

std::vector<TFinding> TTileCheck::All()
{
    std::vector<TFinding> findings;
    for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
        for (int i = 0; i < FStore.Count(kind); ++i)
            Tile(kind, i, findings);
    }
    return findings;
}

bool TTileCheck::IsFrameOfOther(int Item)
{
    if (FFrameOfOther.empty()) {
        const int count = FStore.ItemCount();
        FFrameOfOther.assign(std::size_t(count), 0);
        TAnimation animation;
        for (int owner = 0; owner < count; ++owner) {
            if (!FSources.Animations->Find(owner, animation))
                continue;
            for (const int frame : animation.Frames) {
                if (frame != owner && frame >= 0 && frame < count)
                    FFrameOfOther[std::size_t(frame)] = 1;
            }
        }
    }
    return FFrameOfOther[std::size_t(Item)] != 0;
}

void TTileCheck::Item(int Index, std::vector<TFinding> &Out)
{
    const bool flagged = (FStore.GetFlags(TTileKind::Item, Index) & AnimationFlag) != 0;
    TAnimation &animation = FAnimation;
    const bool entry = FSources.Animations != nullptr && FSources.Animations->Find(Index, animation);
    if (Runs(TCheckRule::AnimationWithoutEntry) && flagged && !entry && !IsFrameOfOther(Index))
        Add(Out, TTileKind::Item, Index, TCheckRule::AnimationWithoutEntry,
            "has the Animation flag, but no animation in animdata.mul, and is no frame of another item's");
    std::vector<int> outside;
    std::vector<int> unpictured;
    for (const int frame : animation.Frames) {
        if (frame < 0 || frame >= FStore.ItemCount())
            outside.push_back(frame);
        else if (Runs(TCheckRule::AnimationFrameNoPicture)
                 && !FSources.HasPicture(std::int32_t(TRadarColours::ItemBase + frame)))
            unpictured.push_back(frame);
    }
    if (Runs(TCheckRule::AnimationFrameOutside) && !outside.empty())
        Add(Out, TTileKind::Item, Index, TCheckRule::AnimationFrameOutside,
            "its animation's " + Frames(outside) + (outside.size() == 1 ? " lies" : " lie")
                + " outside the items 0x0 to " + Hex(FStore.ItemCount() - 1));
    if (!unpictured.empty())
        Add(Out, TTileKind::Item, Index, TCheckRule::AnimationFrameNoPicture,
            "its animation's " + Frames(unpictured) + (unpictured.size() == 1 ? " has" : " have") + " no picture");
    if (Runs(TCheckRule::EntryWithoutAnimation) && entry && !flagged)
        Add(Out, TTileKind::Item, Index, TCheckRule::EntryWithoutAnimation,
            "has an animation of " + Number(animation.FrameCount) + (animation.FrameCount == 1 ? " frame" : " frames")
                + " in animdata.mul, but not the Animation flag");
    Radar(TTileKind::Item, Index, Out);
    UnnamedBits(TTileKind::Item, Index, Out);
}

void TTileCheck::Land(int Index, std::vector<TFinding> &Out)
{
    if (Runs(TCheckRule::TextureMissing)) {
        const int texId = FStore.GetTexture(Index);
        TTextureReader &textures = *FSources.Textures;
        const std::string named = "TexID " + Hex(texId);
        switch (textures.Fault(texId)) {
        case TTextureFault::None:
        case TTextureFault::Zero:
            break;
        case TTextureFault::BeyondTable:
            Add(Out, TTileKind::Land, Index, TCheckRule::TextureMissing,
                named + " lies beyond texidx.mul's " + Number(textures.EntryCount()) + " entries");
            break;
        case TTextureFault::EmptySlot:
            Add(Out, TTileKind::Land, Index, TCheckRule::TextureMissing, named + " names an empty slot of texidx.mul");
            break;
        case TTextureFault::NotATexture:
            Add(Out, TTileKind::Land, Index, TCheckRule::TextureMissing,
                named + " names " + Number(textures.Length(texId)) + " bytes, which is no texture (8,192 or 32,768)");
            break;
        case TTextureFault::PastFileEnd:
            Add(Out, TTileKind::Land, Index, TCheckRule::TextureMissing,
                named + " names bytes past the end of texmaps.mul");
            break;
        }
    }
    Radar(TTileKind::Land, Index, Out);
    UnnamedBits(TTileKind::Land, Index, Out);
}

void TTileCheck::Radar(TTileKind Kind, int Index, std::vector<TFinding> &Out)
{
    if (!Runs(TCheckRule::RadarMissing))
        return;
    const int entry = Kind == TTileKind::Item ? TRadarColours::ItemBase + Index : Index;
    if (!FSources.HasPicture(std::int32_t(entry)))
        return;
    const TRadarColours &radar = *FSources.Radar;
    if (entry >= radar.Count())
        Add(Out, Kind, Index, TCheckRule::RadarMissing,
            "has a picture, but radarcol.mul ends before its colour (entry " + Hex(entry) + " of "
                + Number(radar.Count()) + ")");
    else if (radar.Colour(entry) == 0)
        Add(Out, Kind, Index, TCheckRule::RadarMissing, "has a picture, but its radar colour is 0 (black)");
}

void TTileCheck::UnnamedBits(TTileKind Kind, int Index, std::vector<TFinding> &Out)
{
    if (!Runs(TCheckRule::UnnamedBits))
        return;
    const std::uint64_t flags = FStore.GetFlags(Kind, Index);
    if ((flags >> FirstUnnamedBit) == 0)
        return;
    // Written digit by digit: a file whose upper bits are noise has such a
    // finding on every tile.
    std::string bits = "has flag bits set that have no name: ";
    const char *separator = "";
    for (int bit = FirstUnnamedBit; bit < WideFlagCount; ++bit) {
        if ((flags >> bit) & 1) {
            bits += separator;
            bits += "Bit ";
            bits += char('0' + bit / 10);
            bits += char('0' + bit % 10);
            separator = ", ";
        }
    }
    Add(Out, Kind, Index, TCheckRule::UnnamedBits, std::move(bits));
}
