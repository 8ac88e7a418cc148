#include "cli/ToolCommands.h"

#include "cli/EditsReader.h"
#include "cli/OutsideRecords.h"
#include "cli/RawName.h"
#include "cli/TileDiff.h"
#include "cli/TileDump.h"
#include "cli/TileFile.h"
#include "cli/TileRow.h"
#include "cli/ToolInput.h"
#include "platform/Error.h"
#include "tiledata/TileDataReader.h"

#include <string_view>
#include <vector>

namespace ToolCommands {

namespace {

std::string LengthLine(std::size_t A, std::size_t B)
{
    return "length: " + std::to_string(A) + " -> " + std::to_string(B) + " bytes\n";
}

// How tile Index differs between two stores, every byte of its record
// compared; empty when it does not.
std::string TileLine(const TTileData &A, const TTileData &B, int Index)
{
    const bool afterEnd = RawName::BytesAfterEndDiffer(RawName::Of(A, Index), RawName::Of(B, Index));
    return TileDiff::RecordLine(TileRow::Read(A, Index), TileRow::Read(B, Index), afterEnd);
}

} // namespace

CommandResult Dump(const std::string &Path, const DumpOptions &Options)
{
    const TileFile file(Path, TileFile::Use::Read);
    return {0, TileDump::Write(file.Store(), Options)};
}

CommandResult Diff(const std::string &PathA, const std::string &PathB)
{
    const TileFile a(PathA, TileFile::Use::Read);
    const TileFile b(PathB, TileFile::Use::Read);
    const TTileLayout &layout = a.Store().Layout();
    if (layout != b.Store().Layout())
        throw Error(PathA + " and " + PathB + " have different layouts (" + layout.Description() + ", "
                    + b.Store().Layout().Description() + "); diff compares files of one layout");
    CommandResult result;
    int tiles = 0;
    for (int i = 0; i < layout.Count(TTileKind::Item); ++i) {
        const std::string line = TileLine(a.Store(), b.Store(), i);
        if (!line.empty()) {
            result.Output += line;
            ++tiles;
        }
    }
    const std::vector<unsigned char> &bytesA = a.Bytes();
    const std::vector<unsigned char> &bytesB = b.Bytes();
    const std::vector<OutsideRecords::ByteRange> ranges = OutsideRecords::Differences(bytesA, bytesB, layout);
    for (const OutsideRecords::ByteRange &range : ranges)
        result.Output += OutsideRecords::RangeLine(range);
    if (bytesA.size() != bytesB.size())
        result.Output += LengthLine(bytesA.size(), bytesB.size());
    result.Output += TileDiff::CountLine(tiles, "tile differs", "tiles differ");
    result.Status = tiles > 0 || !ranges.empty() ? 1 : 0;
    return result;
}

CommandResult Apply(const std::string &Path, const std::string &EditsPath, bool DryRun)
{
    TileFile file(Path, TileFile::Use::Write);
    TTileData &store = file.Store();
    const std::vector<unsigned char> text = ToolInput::Read(EditsPath);
    int changed = 0;
    CommandResult result;
    // Each line goes into the store's table as soon as it is read; the file
    // changes only at the Save after the last line, so a fault on any line
    // throws past the Save and leaves the file untouched.
    const auto apply = [&](const TileEdit &Edit) {
        const TileRow old = TileRow::Read(store, Edit.Index);
        const TileRow edited = Edit.AppliedTo(old);
        if (edited == old)
            return;
        ++changed;
        if (DryRun)
            result.Output += TileDiff::Line(old, edited);
        else
            edited.WriteChangesTo(store, old);
    };
    EditsReader(ToolInput::NameOf(EditsPath)).Read(std::string_view(reinterpret_cast<const char *>(text.data()), text.size()), apply);
    if (DryRun) {
        result.Output += TileDiff::CountLine(changed, "tile would change", "tiles would change");
        return result;
    }
    // With nothing to change the file is left alone, not rewritten. A file
    // that another program changed since it was read here is not
    // overwritten: those changes would be lost unseen.
    if (changed > 0 && !ToolInput::NamingFile(Path, [&] { return store.Save([](const TSaveConflicts &) { return false; }); }))
        throw Error(Path + ": another program changed the file while the edits were read; nothing was written");
    result.Output = TileDiff::CountLine(changed, "tile changed", "tiles changed");
    return result;
}

} // namespace ToolCommands
