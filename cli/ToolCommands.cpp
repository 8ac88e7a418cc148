#include "cli/ToolCommands.h"

#include "tiletext/EditsReader.h"
#include "cli/LinkColumns.h"
#include "cli/OutsideRecords.h"
#include "tiletext/RawName.h"
#include "cli/TileDiff.h"
#include "tiletext/TileDump.h"
#include "cli/TileFile.h"
#include "tiletext/TileRow.h"
#include "cli/ToolInput.h"
#include "platform/Error.h"
#include "platform/SignalDeferral.h"
#include "tiledata/JournalRecovery.h"
#include "tiledata/TileComparison.h"
#include "tiledata/TileDataReader.h"
#include "tilelinks/LinkFiles.h"

#include <QLocale>

#include <string_view>
#include <vector>

namespace ToolCommands {

namespace {

std::string LengthLine(std::size_t A, std::size_t B)
{
    return "length: " + std::to_string(A) + " -> " + std::to_string(B) + " bytes\n";
}

void AddWarning(CommandResult &Result, const TileFile &File)
{
    if (!File.Warning().empty())
        Result.Warnings += File.Warning() + '\n';
}

// How tile Index of Kind differs between two stores, every byte of its
// record compared; empty when it does not.
std::string TileLine(const TTileData &A, const TTileData &B, TTileKind Kind, int Index)
{
    const bool afterEnd
        = RawName::BytesAfterEndDiffer(RawName::Of(A, Kind, Index), RawName::Of(B, Kind, Index));
    return TileDiff::RecordLine(TileRow::Read(A, Kind, Index), TileRow::Read(B, Kind, Index), afterEnd);
}

// The lines of the tiles of Kind that the comparison found to differ;
// returns how many do.
int DiffSection(std::string &Out, const TTileData &A, const TTileData &B, const TTileComparison &Comparison,
                TTileKind Kind)
{
    const std::vector<int> tiles = Comparison.Differing(Kind);
    for (const int i : tiles)
        Out += TileLine(A, B, Kind, i);
    return int(tiles.size());
}

// What the next open does with a cut-off save's journal; returns the line
// that says what was done, empty when there was nothing to do.
std::string SettleJournal(const std::string &Path, JournalChoice Choice)
{
    TJournalRecovery recovery(Path);
    if (recovery.State() != TJournalRecovery::TState::Conflict)
        return recovery.Settle();
    if (Choice == JournalChoice::Finish)
        return recovery.Finish();
    if (Choice == JournalChoice::Discard)
        return recovery.Discard();
    const std::string cannot = recovery.Unfinishable().empty() ? std::string() : "; " + recovery.Unfinishable();
    throw Error(Path + ": the last save of the file was cut off, and another program has changed these tiles since: "
                + recovery.ChangedTiles() + cannot + "; nothing was changed. --finish completes the save over them, "
                + "--discard keeps the file as it is and removes the journal");
}

} // namespace

CommandResult Recover(const std::string &Path, JournalChoice Choice)
{
    if (Path == ToolInput::StandardInputPath)
        throw Error("recover needs the tile data file, not standard input");
    CommandResult result;
    result.Warnings = SettleJournal(Path, Choice);
    if (result.Warnings.empty())
        result.Warnings = Path + " has no cut-off save to finish";
    result.Warnings += '\n';
    return result;
}

CommandResult Dump(const std::string &Path, const DumpOptions &Options, LayoutChoice Layout)
{
    const TileFile file(Path, TileFile::Use::Read, Layout);
    if (!Options.LinkFolder.empty() && !TLinkFiles::AnyIn(Options.LinkFolder))
        throw Error("--from: " + Options.LinkFolder + " holds none of texidx.mul, texmaps.mul and animdata.mul");
    TLinkFiles links(Options.LinkFolder.empty() ? TLinkFiles::FolderOf(Path) : Options.LinkFolder);
    DumpOptions options = Options;
    LinkColumns::Add(options, links, file.Store());
    CommandResult result{0, TileDump::Write(file.Store(), options), std::string(), std::string()};
    AddWarning(result, file);
    return result;
}

CommandResult Diff(const std::string &PathA, const std::string &PathB, LayoutChoice Layout)
{
    const TileFile a(PathA, TileFile::Use::Read, Layout);
    const TileFile b(PathB, TileFile::Use::Read, Layout);
    const TTileLayout &layout = a.Store().Layout();
    // A file whose layout is only a guess is named as such, not blamed for
    // a layout it may never have had.
    for (const TileFile *file : {&a, &b}) {
        if (layout != b.Store().Layout() && file->FitsNeitherLayout())
            throw Error(file->LengthText() + ", which fits neither layout exactly; diff compares files of one layout");
    }
    if (layout != b.Store().Layout())
        throw Error(ToolInput::NameOf(PathA) + " and " + ToolInput::NameOf(PathB) + " have different layouts (" + layout.Description() + ", "
                    + b.Store().Layout().Description() + "); diff compares files of one layout");
    CommandResult result;
    AddWarning(result, a);
    AddWarning(result, b);
    const TTileComparison comparison(a.Store(), b.Store());
    int tiles = DiffSection(result.Output, a.Store(), b.Store(), comparison, TTileKind::Item);
    tiles += DiffSection(result.Output, a.Store(), b.Store(), comparison, TTileKind::Land);
    const std::vector<unsigned char> &bytesA = a.Bytes();
    const std::vector<unsigned char> &bytesB = b.Bytes();
    const std::vector<OutsideRecords::ByteRange> ranges = OutsideRecords::Differences(bytesA, bytesB, layout);
    for (const OutsideRecords::ByteRange &range : ranges)
        result.Output += OutsideRecords::RangeLine(range);
    if (bytesA.size() != bytesB.size())
        result.Output += LengthLine(bytesA.size(), bytesB.size());
    result.Output += TileDiff::CountLine(tiles, "tile differs", "tiles differ");
    // Tiles beyond a short file's end are compared nowhere: the length alone
    // tells that the files differ there.
    result.Status = tiles > 0 || !ranges.empty() || bytesA.size() != bytesB.size() ? 1 : 0;
    return result;
}

CommandResult Apply(const std::string &Path, const std::string &EditsPath, bool DryRun, TTileKind Kind,
                    LayoutChoice Layout, JournalChoice Journal)
{
    const std::string recovered
        = Path == ToolInput::StandardInputPath ? std::string() : SettleJournal(Path, Journal);
    TileFile file(Path, TileFile::Use::Write, Layout);
    file.RequireKnownLayout();
    TTileData &store = file.Store();
    const std::vector<unsigned char> text = ToolInput::ReadEdits(EditsPath);
    int changed = 0;
    CommandResult result;
    if (!recovered.empty())
        result.Warnings += recovered + '\n';
    // Each line goes into the store's table as soon as it is read; the file
    // changes only at the Save after the last line, so a fault on any line
    // throws past the Save and leaves the file untouched.
    const auto apply = [&](const TileEdit &Edit) {
        const TileRow old = TileRow::Read(store, Kind, Edit.Index);
        const TileRow edited = Edit.AppliedTo(old);
        if (edited == old)
            return;
        ++changed;
        if (DryRun)
            result.Output += TileDiff::Line(old, edited);
        else
            edited.WriteChangesTo(store, old);
    };
    EditsReader(ToolInput::NameOf(EditsPath), store.Layout(), Kind)
        .Read(std::string_view(reinterpret_cast<const char *>(text.data()), text.size()), apply);
    AddWarning(result, file);
    if (DryRun) {
        result.Output += TileDiff::CountLine(changed, "tile would change", "tiles would change");
        return result;
    }
    // With nothing to change the file is left alone, not rewritten. A file
    // that another program changed since it was read here is not
    // overwritten: those changes would be lost unseen.
    if (changed > 0) {
        // A request to stop that waited for the save ends the tool before
        // its report: it says first that every edit is in the file.
        SignalDeferral deferral;
        if (!ToolInput::NamingFile(Path, [&] { return store.Save([](const TSaveConflicts &) { return false; }); })) {
            const std::string message
                = Path + ": another program changed the file while the edits were read; nothing was written";
            deferral.Failing(message);
            throw Error(message);
        }
        deferral.Completed("the save completed: " + QLocale(QLocale::English).toString(changed).toStdString()
                           + (changed == 1 ? " tile" : " tiles") + " written");
    }
    if (!store.SaveNote().empty())
        result.Warnings += "warning: " + store.SaveNote() + '\n';
    result.Output = TileDiff::CountLine(changed, "tile changed", "tiles changed");
    result.Written = Path;
    return result;
}

} // namespace ToolCommands
