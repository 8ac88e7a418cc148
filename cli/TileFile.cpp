#include "cli/TileFile.h"

#include "cli/ToolInput.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace {

std::vector<unsigned char> ReadBytes(const std::string &Path, TileFile::Use How)
{
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

// Why a file of Size bytes is too short for Layout's item records. A newer
// file cut right after its land section would otherwise be measured against
// the classic layout, which it never was.
std::string ShortFileText(std::int64_t Size, const TTileLayout &Layout)
{
    const TTileLayout newer = TTileLayout::Newer(1);
    if (Size == newer.SectionStart(TTileKind::Item))
        return "the file is " + WithThousands(Size) + " bytes long: the land section of the newer layout, with no "
               "item tiles after it";
    return "the file is " + WithThousands(Size) + " bytes long; the " + WithThousands(Layout.Count(TTileKind::Item))
           + " tile records need " + WithThousands(Layout.RecordsEnd(TTileKind::Item));
}

TTileLayout ChosenLayout(const std::string &Path, std::int64_t Size, LayoutChoice Choice)
{
    const TTileLayout byLength = TTileLayout::ForFileSize(Size);
    if (Choice == LayoutChoice::FromLength)
        return byLength;
    const bool newer = Choice == LayoutChoice::Newer;
    if (TTileLayout::IsAmbiguousSize(Size))
        return newer ? TTileLayout::NewerWithin(Size) : TTileLayout::Classic();
    if (byLength.IsNewer() != newer)
        throw Error(FileLengthText(Path, Size) + ", the length of a " + byLength.Name() + " file; --layout "
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
    const TTileLayout layout = ChosenLayout(Path, size, Choice);
    if (size < layout.RecordsEnd(TTileKind::Item))
        throw Error(ToolInput::NameOf(Path) + ": " + ShortFileText(size, layout));
    if (TTileLayout::IsAmbiguousSize(size))
        FWarning = FileLengthText(Path, size) + ", which fits neither layout exactly; it is read as the " + layout.Name()
                   + " layout (" + layout.Description() + ")";
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
    if (FitsNeitherLayout())
        throw Error(LengthText() + ", which fits neither layout exactly; give --layout classic or --layout newer to "
                                   "write to it");
}
