#include "art/ArtPresence.h"

#include "art/PackedArtKeys.h"
#include "art/PackedTable.h"
#include "art/PatchRecords.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"

#include <QtEndian>

#include <algorithm>
#include <new>
#include <utility>

namespace {

const std::string PackedArtName = "artLegacyMUL.uop";
const std::string ArtName = "art.mul";
const std::string IndexName = "artidx.mul";
const std::string PatchName = "verdata.mul";
constexpr std::size_t IndexRecordSize = 12;
constexpr std::uint32_t Absent = 0xFFFFFFFF;

// What FHas holds for an entry.
constexpr unsigned char NoPicture = 0;
constexpr unsigned char Picture = 1;
constexpr unsigned char Patchable = 2; // no picture unless the patch file has one

static_assert(TArtPresence::EntryCount == TPackedArtKeys::EntryCount, "both count the same entries");

std::uint32_t Long(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::uint32_t>(Bytes);
}

} // namespace

TArtPresence::TArtPresence(std::string Names)
    : FNames(std::move(Names))
    , FHas(std::size_t(EntryCount), 0)
{
}

std::unique_ptr<TArtPresence> TArtPresence::In(const std::string &Folder)
{
    const std::string prefix = FileSystem::FolderPrefix(Folder);
    std::unique_ptr<TArtPresence> presence;
    try {
        // The same order as the window's: the container wins over art.mul.
        if (FileSystem::FileExists(prefix + PackedArtName)) {
            presence.reset(new TArtPresence(PackedArtName));
            presence->ReadContainer(prefix + PackedArtName);
            presence->ReadPatches(prefix + PatchName);
        } else if (FileSystem::FileExists(prefix + ArtName) && FileSystem::FileExists(prefix + IndexName)) {
            presence.reset(new TArtPresence(ArtName + ", " + IndexName));
            presence->ReadIndex(prefix + ArtName, prefix + IndexName);
            presence->ReadPatches(prefix + PatchName);
        }
    } catch (const std::bad_alloc &) {
        // Not even the table of entries fits: nothing can be said.
        return nullptr;
    }
    return presence;
}

bool TArtPresence::Has(std::int32_t EntryNumber) const
{
    return EntryNumber >= 0 && EntryNumber < EntryCount && FHas[std::size_t(EntryNumber)] == Picture;
}

template <typename TRead>
void TArtPresence::Guarded(const std::string &Name, TRead Read)
{
    try {
        Read();
    } catch (const Error &e) {
        // The platform's texts already name the file by its path.
        AddProblem(e.what());
    } catch (const std::bad_alloc &) {
        AddProblem(Name + ": out of memory while reading it");
    }
}

void TArtPresence::ReadContainer(const std::string &Path)
{
    // The window draws a patch for every entry it cannot find, also when it
    // could not read the table at all.
    std::fill(FHas.begin(), FHas.end(), Patchable);
    Guarded(PackedArtName, [&] {
        const SharedReadFile file(Path);
        const TPackedTable table(file);
        const TPackedArtKeys keys(table);
        std::string problems = table.Problem().toStdString();
        // Without the order of the key's halves no entry can be found in
        // the container, in the window as here.
        if (keys.Order() == TPackedArtKeys::TKeyOrder::Unknown)
            problems += std::string(problems.empty() ? "" : "; ") + "no art entries recognised";
        if (!problems.empty())
            AddProblem(PackedArtName + ": " + problems);
        for (std::int32_t entry = 0; entry < EntryCount; ++entry)
            FHas[std::size_t(entry)] = keys.Find(table, entry) >= 0 ? Picture : Patchable;
    });
}

void TArtPresence::ReadIndex(const std::string &ArtPath, const std::string &IndexPath)
{
    Guarded(IndexName, [&] {
        const std::uint64_t artSize = std::uint64_t(SharedReadFile(ArtPath).Size());
        const SharedReadFile index(IndexPath);
        // Records past the last entry number there can be are never asked
        // about, so a huge index costs no more than a real one.
        const std::size_t wanted = std::size_t(std::min<std::uint64_t>(
            std::uint64_t(index.Size()), std::uint64_t(EntryCount) * IndexRecordSize));
        std::vector<unsigned char> records(wanted);
        records.resize(index.ReadAt(0, records.data(), wanted));
        MarkFromIndex(records, artSize);
        if (records.size() < wanted)
            AddProblem(IndexName + ": the file ended at byte " + std::to_string(records.size())
                       + ", though it was " + std::to_string(index.Size()) + " bytes long when opened");
    });
}

void TArtPresence::MarkFromIndex(const std::vector<unsigned char> &Records, std::uint64_t ArtSize)
{
    // An incomplete last record describes no entry.
    const std::size_t count = Records.size() / IndexRecordSize;
    for (std::size_t entry = 0; entry < count; ++entry) {
        const unsigned char *record = &Records[entry * IndexRecordSize];
        const std::uint32_t offset = Long(record);
        const std::uint32_t length = Long(record + 4);
        // In 64 bits the sum cannot wrap, however large both are.
        const bool inside = std::uint64_t(offset) + length <= ArtSize;
        // The window draws a patch only for an entry marked absent, not
        // for one whose data is missing from art.mul.
        if (offset == Absent)
            FHas[entry] = Patchable;
        else
            FHas[entry] = length != 0 && inside ? Picture : NoPicture;
    }
}

void TArtPresence::ReadPatches(const std::string &Path)
{
    if (!FileSystem::FileExists(Path))
        return;
    std::unique_ptr<SharedReadFile> file;
    try {
        file = std::make_unique<SharedReadFile>(Path);
    } catch (const Error &) {
        return;
    }
    Guarded(PatchName, [&] {
        TPatchRecords(*file).ForEach([&](const TPatchEntry &Record) {
            const std::uint32_t entry = std::uint32_t(Record.Block);
            if (Record.FileId == TPatchRecords::ArtFileId && entry < std::uint32_t(EntryCount)
                && FHas[entry] == Patchable)
                FHas[entry] = Picture;
        });
    });
}

void TArtPresence::AddProblem(const std::string &Problem)
{
    FProblem += (FProblem.empty() ? "" : "; ") + Problem;
}
