#include "tilecheck/CheckFiles.h"

#include "art/ArtPresence.h"
#include "tilecheck/CheckRule.h"
#include "platform/FileSystem.h"

namespace {

// The rules that read File, "a, b and c", from what each rule needs.
std::string RulesNeeding(const char *File)
{
    std::vector<std::string> names;
    for (int i = 0; i < CheckRuleCount; ++i) {
        if (std::string(CheckRules::Needs(CheckRules::At(i))).find(File) != std::string::npos)
            names.push_back(CheckRules::Name(CheckRules::At(i)));
    }
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return out;
}

} // namespace

TCheckFiles::TCheckFiles(const std::string &Folder)
{
    const std::string prefix = FileSystem::FolderPrefix(Folder);
    FindArt(prefix);
    FindAnimations(prefix);
    FindTextures(prefix);
    FindRadar(prefix);
}

TCheckFiles::~TCheckFiles() = default;

bool TCheckFiles::Sort(const std::string &Names, const std::string &Problem, const char *Needed)
{
    if (Problem.empty()) {
        FFound.push_back(Names);
        return true;
    }
    FProblems.push_back(Problem + "; " + RulesNeeding(Needed) + " skipped");
    return false;
}

void TCheckFiles::FindArt(const std::string &Prefix)
{
    std::unique_ptr<TArtPresence> art = TArtPresence::In(Prefix);
    if (!art) {
        FMissing.push_back("art");
        return;
    }
    if (Sort(art->Names(), art->Problem(), "the art"))
        FArt = std::move(art);
}

void TCheckFiles::FindAnimations(const std::string &Prefix)
{
    const std::string path = Prefix + "animdata.mul";
    if (!FileSystem::FileExists(path)) {
        FMissing.push_back("animdata.mul");
        return;
    }
    auto animations = std::make_unique<TAnimationReader>(path);
    animations->Frames(0); // reads the file
    if (Sort("animdata.mul", animations->Problem(), "animdata.mul"))
        FAnimations = std::move(animations);
}

void TCheckFiles::FindTextures(const std::string &Prefix)
{
    bool bothThere = true;
    for (const char *name : {"texidx.mul", "texmaps.mul"}) {
        if (!FileSystem::FileExists(Prefix + name)) {
            FMissing.push_back(name);
            bothThere = false;
        }
    }
    if (!bothThere)
        return;
    auto textures = std::make_unique<TTextureReader>(Prefix + "texidx.mul", Prefix + "texmaps.mul");
    textures->EntryCount(); // reads the table
    if (Sort("texidx.mul, texmaps.mul", textures->Problem(), "texidx.mul"))
        FTextures = std::move(textures);
}

void TCheckFiles::FindRadar(const std::string &Prefix)
{
    const std::string path = Prefix + "radarcol.mul";
    if (!FileSystem::FileExists(path)) {
        FMissing.push_back("radarcol.mul");
        return;
    }
    auto radar = std::make_unique<TRadarColours>(path);
    if (Sort("radarcol.mul", radar->Problem(), "radarcol.mul"))
        FRadar = std::move(radar);
}

TCheckSources TCheckFiles::Sources()
{
    TCheckSources sources;
    sources.Animations = FAnimations.get();
    sources.Textures = FTextures.get();
    sources.Radar = FRadar.get();
    if (FArt) {
        const TArtPresence *art = FArt.get();
        sources.HasPicture = [art](std::int32_t Entry) { return art->Has(Entry); };
    }
    return sources;
}
