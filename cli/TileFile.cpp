#include "cli/TileFile.h"

#include "cli/ToolInput.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/JournalRecovery.h"
#include "tiledata/LayoutGuess.h"
#include "tiledata/TileDataReader.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace {

std::vector<unsigned char> ReadBytes(const std::string &Path, TileFile::Use How)
{
    // A file whose save was cut off may hold part of it: reading it would
    // pass the half-written file off as the file.
    if (How == TileFile::Use::Read && Path != ToolInput::StandardInputPath && TJournalRecovery::Pending(Path))
        throw Error(Path + ": the last save of the file was cut off and is not finished yet; \"quorvane-tool recover "
                    + Path + "\" finishes it");
    if (How == TileFile::Use::Read)
        return ToolInput::Read(Path);
    if (Path == ToolInput::StandardInputPath)
        throw Error("the tile data file of apply cannot be standard input: apply writes it");
    return ToolInput::NamingFile(Path, [&] { return ReadWholeFile(Path); });
}

std::string WithThousands(std::int64_t Value)
{
    return QLocale(QLocale::English).toString(qlonglong(Value)).toStdString();
}

std::string FileLengthText(const std::string &Path, std::int64_t Size)
{
    return ToolInput::NameOf(Path) + " is " + WithThousands(Size) + " bytes long";
}

// "16,383 tile records need 1,036,251".
std::string RecordsNeedText(const TTileLayout &Layout)
{
    return WithThousands(Layout.Count(TTileKind::Item)) + " tile records need "
           + WithThousands(Layout.RecordsEnd(TTileKind::Item));
}

bool IsNewerLandSection(std::int64_t Size)
{
    return Size == TTileLayout::Newer(1).SectionStart(TTileKind::Item);
}

// Why a file of Size bytes is too short for Layout's item records. A newer
// file cut right after its land section would otherwise be measured against
// the classic layout, which it never was.
std::string ShortFileText(std::int64_t Size, const TTileLayout &Layout)
{
    if (IsNewerLandSection(Size))
        return "the file is " + WithThousands(Size) + " bytes long: the land section of the newer layout, with no "
               "item tiles after it";
    return "the file is " + WithThousands(Size) + " bytes long; the " + RecordsNeedText(Layout);
}

// A short file is measured against the layout it was cut from: the one
// named, or the one its names settle. Without either, the refusal names
// what each layout needs.
TTileLayout ChosenLayout(const std::string &Path, const std::vector<unsigned char> &Bytes, const TLayoutGuess &Guess,
                         LayoutChoice Choice)
{
    const std::int64_t size = std::int64_t(Bytes.size());
    const TTileLayout byLength = TTileLayout::ForFileSize(size);
    if (TTileLayout::IsShortSize(size)) {
        if (Choice != LayoutChoice::FromLength)
            return Choice == LayoutChoice::Newer ? TTileLayout::NewerWithin(size) : TTileLayout::Classic();
        if (const std::optional<TTileLayout> proposed = Guess.Proposal())
            return *proposed;
        if (IsNewerLandSection(size))
            return TTileLayout::NewerWithin(size);
        throw Error(ToolInput::NameOf(Path) + ": the file is " + WithThousands(size)
                    + " bytes long, too short for either layout, and " + Guess.Reason() + ": with --layout classic its "
                    + RecordsNeedText(TTileLayout::Classic()) + ", with --layout newer its "
                    + RecordsNeedText(TTileLayout::NewerWithin(size)));
    }
    if (Choice == LayoutChoice::FromLength)
        return byLength;
    const bool newer = Choice == LayoutChoice::Newer;
    // Where the names contradict the length, either layout may be named.
    if (TTileLayout::IsAmbiguousSize(size) || Guess.ContradictsLength())
        return newer ? TTileLayout::NewerWithin(size) : TTileLayout::Classic();
    if (byLength.IsNewer() != newer)
        throw Error(FileLengthText(Path, size) + ", the length of a " + byLength.Name() + " file; --layout "
                    + (newer ? "newer" : "classic") + " does not fit it");
    return byLength;
}

} // namespace

TileFile::TileFile(const std::string &Path, Use How, LayoutChoice Choice)
    : FPath(Path)
    , FChoice(Choice)
    , FBytes(ReadBytes(Path, How))
{
    const std::int64_t size = std::int64_t(FBytes.size());
    const TLayoutGuess guess(FBytes.data(), FBytes.size());
    const TTileLayout layout = ChosenLayout(Path, FBytes, guess, Choice);
    if (size < layout.RecordsEnd(TTileKind::Item))
        throw Error(ToolInput::NameOf(Path) + ": " + ShortFileText(size, layout));
    if (TTileLayout::IsAmbiguousSize(size))
        FDoubt = "which fits neither layout exactly";
    else if (guess.ContradictsLength())
        FDoubt = std::string("the length of a ") + TTileLayout::ForFileSize(size).Name() + " file, but " + guess.Reason();
    if (!FDoubt.empty())
        FWarning = FileLengthText(Path, size) + ", " + FDoubt + "; it is read as the " + layout.Name() + " layout ("
                   + layout.Description() + ")";
    FStore = std::make_unique<TTileData>(AnsiString::FromPath(Path), FBytes, layout);
    FStore->LoadTiles();
}

TileFile::~TileFile() = default;

bool TileFile::FitsNeitherLayout() const
{
    return FChoice == LayoutChoice::FromLength && TTileLayout::IsAmbiguousSize(std::int64_t(FBytes.size()));
}

std::string TileFile::LengthText() const
{
    return FileLengthText(FPath, std::int64_t(FBytes.size()));
}

void TileFile::RequireKnownLayout() const
{
    if (FChoice == LayoutChoice::FromLength && !FDoubt.empty())
        throw Error(LengthText() + ", " + FDoubt + "; give --layout classic or --layout newer to write to it");
}
