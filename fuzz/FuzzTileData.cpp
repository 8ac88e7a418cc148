// Tile data store on arbitrary bytes: construction, LoadTiles and a
// scripted mix of every operation, with the save checked against the file
// as it was written: same length, and no byte outside the records changed.
// The layout guess that a file of an unclear length is asked about with
// reads the same bytes first.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzLayout.h"
#include "fuzz/FuzzScratch.h"
#include "tests/support/LayoutTileWriter.h"
#include "tiledata/LayoutGuess.h"
#include "tiledata/TileDataReader.h"

#include <QListWidget>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

using namespace FuzzLayout;
using FuzzScratch::Expect;

namespace {

// Each whole-table operation costs about as much as opening and loading the
// file does for every input (16,383 list lines, or a save's compare and
// write, under the sanitizers); five keep every seed script whole.
constexpr int MaxHeavyOperations = 5;

// Builds the file an input describes into a buffer that every input reuses:
// a fresh megabyte per input would cost a fresh mapping under
// AddressSanitizer, and its pages faulted in one by one.
const std::vector<std::uint8_t> &MakeFile(FuzzInput &Input, std::vector<std::uint8_t> &Script)
{
    static std::vector<std::uint8_t> file;
    const std::uint32_t length = Input.Long() % (MaxTileFileLength + 1);
    const std::uint8_t fill = Input.Byte() % 2;
    const std::uint32_t placement = Input.Long();
    Script = Input.Bytes(Input.Word());
    const std::vector<std::uint8_t> pattern = Input.Rest();

    file.assign(length, 0);
    if (pattern.empty() || length == 0)
        return file;
    if (fill == FillCyclic) {
        // The pattern once, then the filled part doubled until the end.
        std::size_t done = std::min(pattern.size(), file.size());
        std::memcpy(file.data(), pattern.data(), done);
        while (done < file.size()) {
            const std::size_t n = std::min(done - done % pattern.size(), file.size() - done);
            std::memcpy(file.data() + done, file.data(), n);
            done += n;
        }
    } else {
        const std::size_t at = placement % length;
        std::copy_n(pattern.begin(), std::min(pattern.size(), file.size() - at), file.begin() + std::ptrdiff_t(at));
    }
    return file;
}

using Span = std::pair<std::size_t, std::size_t>;

// [begin, end) of every stretch of a file of Length bytes in Shape's layout
// that belongs to no record: the group headers of both sections and the tail.
std::vector<Span> OutsideSpans(const LayoutTileWriter &Shape, std::size_t Length)
{
    std::vector<Span> spans;
    for (std::size_t i = 0; i < Length; ++i) {
        if (Shape.IsRecordByte(i))
            continue;
        if (spans.empty() || spans.back().second != i)
            spans.push_back({i, i + 1});
        else
            spans.back().second = i + 1;
    }
    return spans;
}

// Worked out by the test-support writer, once per layout: a newer file's
// length gives its layout, every other length is classic.
const std::vector<Span> &OutsideRecordsOf(std::size_t Length)
{
    static const std::vector<Span> classic = OutsideSpans(LayoutTileWriter::ShapeOf(0), MaxTileFileLength);
    static std::map<int, std::vector<Span>> newer;
    const LayoutTileWriter shape = LayoutTileWriter::ShapeOf(Length);
    if (!shape.IsNewer())
        return classic;
    auto found = newer.find(shape.Items());
    if (found == newer.end())
        found = newer.emplace(shape.Items(), OutsideSpans(shape, Length)).first;
    return found->second;
}

bool SameOutsideRecords(const std::vector<std::uint8_t> &A, const std::vector<std::uint8_t> &B)
{
    for (const auto &[begin, end] : OutsideRecordsOf(A.size())) {
        const std::size_t last = std::min(end, A.size());
        if (begin >= last)
            break;
        if (!std::equal(A.begin() + std::ptrdiff_t(begin), A.begin() + std::ptrdiff_t(last), B.begin() + std::ptrdiff_t(begin)))
            return false;
    }
    return true;
}

class TileDataSession
{
public:
    TileDataSession(const std::vector<std::uint8_t> &File, std::vector<std::uint8_t> Script)
        : FFile(File)
        , FScript(std::move(Script))
        , FPath(FuzzScratch::Write(QStringLiteral("tiledata.mul"), FFile))
        , FStore(std::make_unique<TTileData>(FPath))
    {
        // Every input starts with the load that builds no lines, for a list
        // that reads each line as it draws it. The load with lines is the
        // script's LoadTiles operation, which the seeds hold after setters,
        // names, renames, reopens and land edits: 16,383 lines made for
        // every input cost a tenth of its time.
        FStore->LoadTiles();
        FLoaded = true;
    }

    void Run()
    {
        FuzzInput script(FScript.data(), FScript.size());
        while (!script.Empty())
            Step(script);
        Save();
    }

private:
    static int Tile(FuzzInput &Script) { return int(Script.Word()) - 2; }

    static QString Text(FuzzInput &Script)
    {
        const int length = Script.Byte() % (MaxTextLength + 1);
        QString text;
        for (int i = 0; i < length; ++i)
            text.append(QChar(char16_t(Script.Word())));
        return text;
    }

    // Operations that rebuild list lines or copy the whole file. Past a few
    // per input they add time but no new paths, so the rest are skipped
    // (their operands are still taken). A search only compares names and
    // costs next to nothing.
    static bool IsHeavy(int Op)
    {
        return Op == OpReplaceName || Op == OpLoadTiles || Op == OpFillListBox || Op == OpSave || Op == OpReopen;
    }

    void Step(FuzzInput &Script)
    {
        const int op = Script.Byte() % TileOpCount;
        if (IsHeavy(op) && ++FHeavy > MaxHeavyOperations) {
            Skip(op, Script);
            return;
        }
        switch (op) {
        case OpGetAll:
            CheckTile(Tile(Script));
            break;
        case OpSetField:
            SetField(Script);
            break;
        case OpSetName: {
            const int tile = Tile(Script);
            FStore->SetName(tile, Text(Script));
            CheckTile(tile);
            break;
        }
        case OpReplaceName: {
            const QString old = Text(Script);
            FStore->ReplaceName(old, Text(Script));
            break;
        }
        case OpFindName:
            FindName(Text(Script));
            break;
        case OpLoadTiles:
            Load();
            break;
        case OpFillListBox:
            FillListBox();
            break;
        case OpSave:
            Save();
            break;
        case OpReopen:
            FStore = std::make_unique<TTileData>(FPath);
            FLoaded = false;
            break;
        default:
            LandStep(op, Script);
            break;
        }
    }

    void LandStep(int Op, FuzzInput &Script)
    {
        switch (Op) {
        case OpGetLand:
            CheckLand(Tile(Script));
            break;
        case OpSetFlags64:
            SetFlags64(Script);
            break;
        case OpSetTexture: {
            const int tile = Tile(Script);
            const std::uint32_t value = Script.Long();
            FStore->SetTexture(tile, int(value));
            Expect(!FStore->IsWhole(TTileKind::Land, tile) || FStore->GetTexture(tile) == int(value & 0xFFFF),
                   "a texture does not read back");
            CheckLand(tile);
            break;
        }
        case OpSetLandName: {
            const int tile = Tile(Script);
            FStore->SetName(TTileKind::Land, tile, Text(Script));
            CheckLand(tile);
            break;
        }
        case OpReplaceLandName: {
            const QString old = Text(Script);
            FStore->ReplaceName(TTileKind::Land, old, Text(Script));
            break;
        }
        default:
            break;
        }
    }

    void SetFlags64(FuzzInput &Script)
    {
        const TTileKind kind = Script.Byte() % 2 ? TTileKind::Land : TTileKind::Item;
        const int tile = Tile(Script);
        const std::uint64_t low = Script.Long();
        const std::uint64_t value = low | std::uint64_t(Script.Long()) << 32;
        FStore->SetFlags(kind, tile, value);
        Expect(!FStore->IsWhole(kind, tile) || FStore->GetFlags(kind, tile) == (value & FStore->Layout().FlagMask()),
               "flags do not read back within the layout's width");
        if (kind == TTileKind::Land)
            CheckLand(tile);
        else
            CheckTile(tile);
    }

    void CheckLand(int tile) const
    {
        const bool inside = tile >= 0 && tile < FStore->LandCount();
        const int texture = FStore->GetTexture(tile);
        Expect(texture >= 0 && texture <= 0xFFFF, "a texture reads outside its width");
        Expect(inside || texture == 0, "a texture of a land tile outside the table");
        const std::uint64_t flags = FStore->GetFlags(TTileKind::Land, tile);
        Expect(flags <= FStore->Layout().FlagMask(), "land flags read past the layout's width");
        Expect(inside || flags == 0, "flags of a land tile outside the table");
        const QString name = FStore->GetName(TTileKind::Land, tile);
        Expect(name.size() <= NameLength && !name.contains(QChar(0)), "a land name outside its field");
        if (inside)
            Expect(FStore->ListLine(TTileKind::Land, tile).endsWith(QStringLiteral(" - ") + name),
                   "the land list line lacks the name");
    }

    static void Skip(int Op, FuzzInput &Script)
    {
        if (Op == OpReplaceName) {
            Text(Script);
            Text(Script);
        }
    }

    void SetField(FuzzInput &Script)
    {
        using Setter = void (TTileData::*)(int, int);
        static const Setter Setters[] = {
            &TTileData::SetWeight,   &TTileData::SetQuality, &TTileData::SetUnknown0, &TTileData::SetUnknown1,
            &TTileData::SetQuantity, &TTileData::SetAnim,    &TTileData::SetUnknown2, &TTileData::SetHue,
            &TTileData::SetUnknown3, &TTileData::SetUnknown4, &TTileData::SetHeight,
        };
        const int field = Script.Byte() % TileFieldCount;
        const int tile = Tile(Script);
        const std::uint32_t value = Script.Long();
        if (field == TileFieldCount - 1)
            FStore->SetFlags(tile, value);
        else
            (FStore.get()->*Setters[field])(tile, static_cast<int>(value));
        CheckTile(tile);
    }

    void CheckTile(int tile) const
    {
        using Getter = int (TTileData::*)(int) const;
        static const struct { Getter Get; int Largest; } Fields[] = {
            {&TTileData::GetWeight, 0xFF},     {&TTileData::GetQuality, 0xFF}, {&TTileData::GetUnknown0, 0xFFFF},
            {&TTileData::GetUnknown1, 0xFF},   {&TTileData::GetQuantity, 0xFF}, {&TTileData::GetAnim, 0xFFFF},
            {&TTileData::GetUnknown2, 0xFF},   {&TTileData::GetHue, 0xFF},      {&TTileData::GetUnknown3, 0xFF},
            {&TTileData::GetUnknown4, 0xFF},   {&TTileData::GetHeight, 0xFF},
        };
        const bool inside = tile >= 0 && tile < FStore->ItemCount();
        for (const auto &f : Fields) {
            const int value = (FStore.get()->*f.Get)(tile);
            Expect(value >= 0 && value <= f.Largest, "a field reads outside its width");
            Expect(inside || value == 0, "a tile outside the table reads non-zero");
        }
        Expect(inside || FStore->GetFlags(tile) == 0, "flags of a tile outside the table");
        Expect(FStore->GetFlags(tile) <= FStore->Layout().FlagMask(), "flags read past the layout's width");
        const QString name = FStore->GetName(tile);
        Expect(name.size() <= NameLength, "a name longer than its field");
        Expect(!name.contains(QChar(0)), "a name holds its terminator");
        if (inside)
            Expect(FStore->ListLine(tile).endsWith(QStringLiteral(" - ") + name), "the list line lacks the name");
    }

    void FindName(const QString &Text) const
    {
        const int found = FStore->FindName(Text);
        Expect(found >= -1 && found < FStore->ItemCount(), "FindName returned no tile index");
        Expect(!Text.isEmpty() || found == -1, "an empty text was found");
        Expect(found == -1 || Text.size() <= FStore->GetName(found).size(), "found in a shorter name");
    }

    void Load()
    {
        FLoaded = true;
        QStringList lines;
        FStore->LoadTiles(lines);
        const int count = FStore->ItemCount();
        Expect(lines.size() == count, "LoadTiles gave a wrong number of lines");
        // The load writes all lines at once, apart from ListLine; the ends
        // of the table are where a slip would show. Read through at(): the
        // list shares its lines with the store, and a writable access would
        // copy all 16,383 of them.
        for (const int tile : {0, 1, count - 1})
            Expect(lines.at(tile) == FStore->ListLine(tile), "a loaded line differs from ListLine");
    }

    void FillListBox()
    {
        // Filling a list box is slow; once per input says all there is.
        if (FFilled)
            return;
        FFilled = true;
        if (!FLoaded || FStore->ItemCount() != TileCount) {
            // A store reopened and not loaded yet fills a box that holds
            // another number of lines, which it must replace, not renew; so
            // does a newer file's.
            QListWidget list;
            list.addItem(QStringLiteral("left over"));
            FillAndCheck(list);
            return;
        }
        QListWidget &list = ListBox();
        FillAndCheck(list);
        ResetListBox(list);
    }

    void FillAndCheck(QListWidget &List) const
    {
        FStore->FillListBox(&List);
        const int count = FStore->ItemCount();
        Expect(List.count() == count, "FillListBox gave a wrong number of lines");
        for (const int tile : {0, count - 1})
            Expect(List.item(tile)->text() == FStore->ListLine(tile), "a list line differs from ListLine");
    }

    // One list box serves every input that fills after a load, as the
    // window's one list serves every refill: making and destroying its
    // 16,383 items for each input would cost more than all the rest. Each
    // input finds it in the same state, the lines of an empty table, so that
    // an input does the same on its own as in a run; the box is brought back
    // to that state with Qt's own calls.
    static QListWidget &ListBox()
    {
        // Made after the application, and so destroyed before it.
        static const std::unique_ptr<QListWidget> list = [] {
            auto made = std::make_unique<QListWidget>();
            made->addItems(EmptyTableLines());
            return made;
        }();
        return *list;
    }

    static const QStringList &EmptyTableLines()
    {
        static const QStringList lines = [] {
            QStringList made;
            for (int tile = 0; tile < TileCount; ++tile)
                made.append(QStringLiteral("0x") + QString::number(tile, 16).toUpper() + QStringLiteral(" - "));
            return made;
        }();
        return lines;
    }

    static void ResetListBox(QListWidget &List)
    {
        const QStringList &lines = EmptyTableLines();
        for (int tile = 0; tile < TileCount; ++tile)
            List.item(tile)->setText(lines.at(tile));
        List.reset();
    }

    void Save()
    {
        FStore->Save();
        const std::vector<std::uint8_t> &after = FuzzScratch::Read(FPath);
        Expect(after.size() == FFile.size(), "the save changed the file's length");
        Expect(SameOutsideRecords(after, FFile), "the save changed a byte outside the records");
    }

    const std::vector<std::uint8_t> &FFile;
    std::vector<std::uint8_t> FScript;
    QString FPath;
    std::unique_ptr<TTileData> FStore;
    bool FLoaded = false;
    bool FFilled = false;
    int FHeavy = 0;
};

// The guess reads names wherever either layout puts them, in a file of any
// length; whatever it proposes is what a read-only open shows.
void GuessLayout(const std::vector<std::uint8_t> &File)
{
    const TLayoutGuess guess(File.data(), File.size());
    const std::optional<TTileLayout> proposed = guess.Proposal();
    Expect(proposed.has_value() == guess.IsSettled(), "a proposal without settled names, or none with them");
    Expect(!proposed || proposed->IsNewer() == guess.IsNewer(), "the proposal is not the layout the names read in");
    Expect(!proposed || guess.ReadOnlyLayout() == *proposed, "read-only shows another layout than the proposal");
    Expect(!guess.Reason().empty(), "a guess without a reason");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    std::vector<std::uint8_t> script;
    const std::vector<std::uint8_t> &file = MakeFile(input, script);
    GuessLayout(file);
    TileDataSession session(file, std::move(script));
    session.Run();
    return 0;
}
