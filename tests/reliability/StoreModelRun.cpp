#include "tests/reliability/StoreModelRun.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"

#include <QListWidget>

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace {

struct FieldInfo
{
    const char *Name;
    int Offset;
    int Width;
    int (TTileData::*Get)(int) const;
    void (TTileData::*Set)(int, int);
};

// Offsets and widths as the record layout gives them; Flags, the one
// unsigned 32-bit field, is handled on its own.
const FieldInfo Fields[] = {
    {"Weight", 4, 1, &TTileData::GetWeight, &TTileData::SetWeight},
    {"Quality", 5, 1, &TTileData::GetQuality, &TTileData::SetQuality},
    {"Unknown0", 6, 2, &TTileData::GetUnknown0, &TTileData::SetUnknown0},
    {"Unknown1", 8, 1, &TTileData::GetUnknown1, &TTileData::SetUnknown1},
    {"Quantity", 9, 1, &TTileData::GetQuantity, &TTileData::SetQuantity},
    {"Anim", 10, 2, &TTileData::GetAnim, &TTileData::SetAnim},
    {"Unknown2", 12, 1, &TTileData::GetUnknown2, &TTileData::SetUnknown2},
    {"Hue", 13, 1, &TTileData::GetHue, &TTileData::SetHue},
    {"Unknown3", 14, 1, &TTileData::GetUnknown3, &TTileData::SetUnknown3},
    {"Unknown4", 15, 1, &TTileData::GetUnknown4, &TTileData::SetUnknown4},
    {"Height", 16, 1, &TTileData::GetHeight, &TTileData::SetHeight},
};

constexpr int FlagsOffset = 0;

std::string Describe(const NameAlphabet::Text &text)
{
    return "\"" + text.Characters.toStdString() + "\"";
}

} // namespace

StoreModelRun::StoreModelRun(std::uint32_t Seed, const QString &Path, std::vector<unsigned char> Original)
    : FRandom(Seed)
    , FPath(Path)
    , FOriginal(std::move(Original))
    , FOutsideRecords(TileFileModel::OutsideRecords(FOriginal.size()))
    , FDisk(FOriginal)
    , FModel(FOriginal)
    , FList(std::make_unique<QListWidget>())
{
    FOperation = "construction";
    FStore = std::make_unique<TTileData>(FPath);
    Reload();
}

StoreModelRun::~StoreModelRun() = default;

void StoreModelRun::Run(int Steps)
{
    for (FStep = 1; FStep <= Steps; ++FStep)
        Step();
    // However the run ended, what is on the disk must be the model's.
    Save();
}

void StoreModelRun::Step()
{
    FOperation.clear();
    const unsigned roll = FRandom() % 1000;
    if (roll < 400)
        SetRandomField();
    else if (roll < 600)
        SetRandomName();
    else if (roll < 640)
        ReplaceRandomName();
    else if (roll < 680)
        FindRandomName();
    else if (roll < 900)
        CheckTile(RandomTile());
    else if (roll < 915)
        Save();
    else if (roll < 935)
        Reload();
    else if (roll < 950)
        Reopen();
    else if (roll < 955)
        FillList();
    else
        SetRandomName();
}

int StoreModelRun::RandomTile()
{
    static const int Boundaries[] = {0, 1, 31, 32, 33, 0x3FDF, 0x3FE0, 0x3FFD, 0x3FFE};
    static const int Outside[] = {-1, 16383, 0x4000, INT_MAX, INT_MIN, -100000};
    const unsigned roll = FRandom() % 100;
    if (roll < 85)
        return int(FRandom() % TileFileModel::Tiles);
    if (roll < 95)
        return Boundaries[FRandom() % std::size(Boundaries)];
    return Outside[FRandom() % std::size(Outside)];
}

int StoreModelRun::RandomValue()
{
    static const int Edges[] = {0, 1, 127, 128, 255, 256, 257, 0xFFFF, 0x10000, 0x1FFFF, -1, -2, -256, INT_MAX, INT_MIN};
    const unsigned roll = FRandom() % 10;
    if (roll < 4)
        return int(FRandom() % 256);
    if (roll < 7)
        return Edges[FRandom() % std::size(Edges)];
    return static_cast<int>(FRandom());
}

void StoreModelRun::SetRandomField()
{
    const int tile = RandomTile();
    const std::size_t which = FRandom() % (std::size(Fields) + 1);
    if (which == std::size(Fields)) {
        const std::uint32_t value = FRandom();
        FOperation = "SetFlags(" + std::to_string(tile) + ", " + std::to_string(value) + ")";
        FStore->SetFlags(tile, value);
        FModel.SetField(tile, FlagsOffset, 4, value);
    } else {
        const FieldInfo &f = Fields[which];
        const int value = RandomValue();
        FOperation = std::string("Set") + f.Name + "(" + std::to_string(tile) + ", " + std::to_string(value) + ")";
        (FStore.get()->*f.Set)(tile, value);
        FModel.SetField(tile, f.Offset, f.Width, static_cast<std::uint32_t>(value));
    }
    if (FRandom() % 4 == 0)
        CheckTile(tile);
}

void StoreModelRun::SetRandomName()
{
    const int tile = RandomTile();
    const NameAlphabet::Text name = NameAlphabet::Random(FRandom, int(FRandom() % 26));
    FOperation = "SetName(" + std::to_string(tile) + ", " + Describe(name) + ")";
    FStore->SetName(tile, name.Characters);
    FModel.SetName(tile, name.Bytes);
    if (FRandom() % 4 == 0)
        CheckTile(tile);
}

NameAlphabet::Text StoreModelRun::NameOfRandomTile()
{
    return NameAlphabet::FromBytes(FModel.Name(int(FRandom() % TileFileModel::Tiles)));
}

void StoreModelRun::ReplaceRandomName()
{
    const unsigned roll = FRandom() % 100;
    NameAlphabet::Text old;
    if (roll < 60)
        old = NameAlphabet::SwitchCase(NameOfRandomTile(), FRandom, true);
    else if (roll < 80)
        old = NameAlphabet::SwitchCase(NameOfRandomTile(), FRandom, false);
    else if (roll < 97)
        old = NameAlphabet::Random(FRandom, int(FRandom() % 26));
    // else: the empty name, which renames every tile without a name
    const NameAlphabet::Text replacement = NameAlphabet::Random(FRandom, int(FRandom() % 26));
    FOperation = "ReplaceName(" + Describe(old) + ", " + Describe(replacement) + ")";
    FStore->ReplaceName(old.Characters, replacement.Characters);
    // A text with a character the code page lacks is no tile's name.
    if (old.Encodable)
        FModel.ReplaceName(old.Bytes, replacement.Bytes);
}

void StoreModelRun::FindRandomName()
{
    const unsigned roll = FRandom() % 100;
    NameAlphabet::Text text;
    if (roll < 50) {
        const NameAlphabet::Text name = NameAlphabet::SwitchCase(NameOfRandomTile(), FRandom, false);
        const int from = name.Characters.isEmpty() ? 0 : int(FRandom() % name.Characters.size());
        text = NameAlphabet::FromBytes(name.Bytes.substr(std::size_t(from), FRandom() % 8 + 1));
    } else if (roll < 80) {
        text = NameAlphabet::Random(FRandom, int(FRandom() % 26));
    } else if (roll < 90) {
        // Longer than any name can be.
        text = NameAlphabet::FromBytes(FModel.Name(int(FRandom() % TileFileModel::Tiles)) + std::string(21, 'a'));
    }
    FOperation = "FindName(" + Describe(text) + ")";
    std::string upper = text.Bytes;
    for (char &c : upper)
        c = static_cast<char>(NameAlphabet::Upper(static_cast<unsigned char>(c)));
    const int expected = text.Encodable ? FModel.FindUpper(upper) : -1;
    const int found = FStore->FindName(text.Characters);
    if (found != expected)
        Fail("found " + std::to_string(found) + ", the model finds " + std::to_string(expected));
}

void StoreModelRun::CheckTile(int tile)
{
    FOperation += "; then the getters of " + std::to_string(tile);
    if (FStore->GetFlags(tile) != FModel.Field(tile, FlagsOffset, 4))
        Fail("Flags " + std::to_string(FStore->GetFlags(tile)));
    for (const FieldInfo &f : Fields) {
        const int got = (FStore.get()->*f.Get)(tile);
        if (got < 0 || std::uint32_t(got) != FModel.Field(tile, f.Offset, f.Width))
            Fail(std::string(f.Name) + " reads " + std::to_string(got) + ", the model has "
                 + std::to_string(FModel.Field(tile, f.Offset, f.Width)));
    }
    const QString name = FStore->GetName(tile);
    const QString expected = NameAlphabet::FromBytes(FModel.Name(tile)).Characters;
    if (name != expected)
        Fail("name \"" + name.toStdString() + "\", the model has \"" + expected.toStdString() + "\"");
    if (TileFileModel::IsTile(tile) && FStore->ListLine(tile) != ExpectedLine(tile))
        Fail("list line \"" + FStore->ListLine(tile).toStdString() + "\"");
}

QString StoreModelRun::ExpectedLine(int tile) const
{
    return QLatin1String("0x") + QString::number(tile, 16).toUpper() + QLatin1String(" - ")
           + NameAlphabet::FromBytes(FModel.Name(tile)).Characters;
}

void StoreModelRun::Save()
{
    FOperation = "Save";
    FStore->Save();
    FModel.Save();
    FDisk = FModel.Image();
    ++FSaves;
    CheckFileEqualsModel();
}

void StoreModelRun::CheckFileEqualsModel()
{
    const std::vector<unsigned char> file = ReadFile();
    if (file.size() != FOriginal.size())
        Fail("the file is " + std::to_string(file.size()) + " bytes long, not " + std::to_string(FOriginal.size()));
    for (const auto &[begin, end] : FOutsideRecords) {
        if (!std::equal(file.begin() + begin, file.begin() + end, FOriginal.begin() + begin))
            Fail("a byte outside the records, in " + std::to_string(begin) + " to " + std::to_string(end) + ", changed");
    }
    if (file != FDisk) {
        const auto differ = std::mismatch(file.begin(), file.end(), FDisk.begin());
        const std::size_t at = std::size_t(differ.first - file.begin());
        Fail("byte " + std::to_string(at) + " is " + std::to_string(file[at]) + ", the model has "
             + std::to_string(FDisk[at]));
    }
}

void StoreModelRun::Reload()
{
    FOperation += "; LoadTiles";
    QStringList lines;
    FStore->LoadTiles(lines);
    FModel.Load();
    if (lines.size() != TileFileModel::Tiles)
        Fail(std::to_string(lines.size()) + " list lines");
    for (int k = 0; k < 24; ++k) {
        const int tile = k < 4 ? (k * 0x3FFE) / 3 : int(FRandom() % TileFileModel::Tiles);
        if (lines[tile] != ExpectedLine(tile))
            Fail("line " + std::to_string(tile) + " reads \"" + lines[tile].toStdString() + "\"");
    }
}

void StoreModelRun::Reopen()
{
    FOperation = "reopen";
    // Nothing reaches the disk before a save, also not when a store with
    // unsaved edits is destroyed.
    FStore.reset();
    CheckFileEqualsModel();
    FStore = std::make_unique<TTileData>(FPath);
    FModel.Reopen(FDisk);
    // Now and then the new store is edited and saved before it is loaded:
    // its table is all zero until then.
    if (FRandom() % 10 != 0)
        Reload();
}

void StoreModelRun::FillList()
{
    FOperation = "FillListBox";
    FStore->FillListBox(FList.get());
    if (FList->count() != TileFileModel::Tiles)
        Fail(std::to_string(FList->count()) + " lines in the list box");
    for (int k = 0; k < 24; ++k) {
        const int tile = int(FRandom() % TileFileModel::Tiles);
        if (FList->item(tile)->text() != ExpectedLine(tile))
            Fail("list box line " + std::to_string(tile) + " reads \"" + FList->item(tile)->text().toStdString() + "\"");
    }
}

std::vector<unsigned char> StoreModelRun::ReadFile() const
{
    return TestFiles::ReadBytes(FPath);
}

void StoreModelRun::Fail(const std::string &what) const
{
    throw std::runtime_error("step " + std::to_string(FStep) + ", " + FOperation + ": " + what);
}
