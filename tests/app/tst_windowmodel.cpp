// Random sequences of user actions on the real window, against a model of
// the file: the bytes the user has asked for so far. After every save, and
// after every close answered Save, the file must equal the model byte for
// byte. A failure prints its seed and its actions, shortened to the fewest
// that still fail.
//
// The normal run takes a fixed list of seeds. QV_WINDOW_MODEL_SECONDS=600
// runs random seeds instead until that many seconds have passed.

#include "app/form/Unit1.h"
#include "app/list/TileListModel.h"
#include "app/pictures/PictureGrid.h"
#include "app/pictures/PicturesWindow.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <optional>
#include <random>
#include <tuple>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int NameBytes = 20;
constexpr std::size_t ShortFileSize = 500000;

// -- the model of the file -----------------------------------------------------

// A number box and the field it edits: its place after the flags and its width.
struct Field
{
    const char *Box;
    const char *Name;
    int At;
    int Size;
    bool Hex;
};

const Field ItemFields[] = {
    {"edWeight", "Weight", 0, 1, false},     {"edQuality", "Quality", 1, 1, false},
    {"edUnknown0", "Unknown0", 2, 2, false}, {"edUnknown1", "Unknown1", 4, 1, false},
    {"edQuantity", "Quantity", 5, 1, false}, {"edAnim", "AnimID", 6, 2, true},
    {"edunknown2", "Unknown2", 8, 1, false}, {"edHue", "Hue", 9, 1, false},
    {"edUnknown3", "Unknown3", 10, 1, false}, {"edUnknown4", "Unknown4", 11, 1, false},
    {"edHeight", "Height", 12, 1, false},
};
const Field Texture = {"edTexture", "Texture", 0, 2, false};

// Windows-1252 bytes of a text, or none when it holds a character the code
// page lacks. Its bytes 0x80 to 0x9F are the letters below, or, where it
// has none, the control of the same number; the rest is Latin-1. Names read
// from a file can hold any of them.
std::optional<QByteArray> Encode(const QString &Text)
{
    static const char16_t High[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
    };
    QByteArray bytes;
    for (const QChar c : Text) {
        const char16_t u = c.unicode();
        const auto high = std::find(std::begin(High), std::end(High), u);
        if (high != std::end(High))
            bytes.append(char(0x80 + (high - std::begin(High))));
        else if ((u >= 0x80 && u < 0xA0) || u > 0xFF)
            return std::nullopt;
        else
            bytes.append(char(u));
    }
    return bytes;
}

bool SameName(const QByteArray &A, const QByteArray &B)
{
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    if (A.size() != B.size())
        return false;
    for (qsizetype k = 0; k < A.size(); ++k) {
        if (fold(A[k]) != fold(B[k]))
            return false;
    }
    return true;
}

// The file on disk, the file as the window last loaded or saved it, and what
// the user asked for, with the undo steps of the user's edits.
class FileModel
{
public:
    explicit FileModel(const Bytes &File)
        : Shape(LayoutTileWriter::ShapeOf(File.size()))
        , Disk(File)
        , Image(File)
        , Work(File)
    {
    }

    LayoutTileWriter Shape;
    Bytes Disk;
    Bytes Image;
    Bytes Work;

    // Read-only: the user answered the layout question so; no tile takes an edit.
    bool ReadOnly = false;

    // The layout the window reads the file in after the layout question's
    // answer: newer as the whole item groups the file holds, or 65,536
    // tiles when it is too short for the classic records.
    void Answer(const QString &Button, bool NewerByNames)
    {
        constexpr std::size_t land = 493568, group = 1316, classic = 1036288, classicEnd = 1036251;
        ReadOnly = Button == QLatin1String("Read-only");
        const bool newer = Button == QLatin1String("Newer") || (ReadOnly && NewerByNames);
        const std::size_t size = Disk.size();
        const std::size_t groups = size < classicEnd ? 2048 : std::max<std::size_t>((size - land) / group, 1);
        Shape = LayoutTileWriter::ShapeOf(newer ? land + group * groups : classic);
    }
    bool Takes(bool Land, int Tile) const { return !ReadOnly && IsWhole(Land, Tile); }

    int Count(bool Land) const { return Land ? LayoutTileWriter::LandTiles : Shape.Items(); }
    int Size(bool Land) const { return Shape.FlagBytes() + (Land ? 22 : 33); }
    std::size_t At(bool Land, int Tile) const { return Land ? Shape.LandOffset(Tile) : Shape.ItemOffset(Tile); }
    bool IsWhole(bool Land, int Tile) const
    {
        return Tile >= 0 && Tile < Count(Land) && At(Land, Tile) + std::size_t(Size(Land)) <= Work.size();
    }
    std::size_t FieldAt(bool Land, int Tile, int At) const { return this->At(Land, Tile) + Shape.FlagBytes() + At; }

    unsigned Get(bool Land, int Tile, const Field &F) const
    {
        const std::size_t at = FieldAt(Land, Tile, F.At);
        return F.Size == 1 ? Work[at] : unsigned(Work[at] | Work[at + 1] << 8);
    }
    void Put(bool Land, int Tile, const Field &F, unsigned Value)
    {
        const std::size_t at = FieldAt(Land, Tile, F.At);
        Work[at] = (unsigned char)Value;
        if (F.Size == 2)
            Work[at + 1] = (unsigned char)(Value >> 8);
    }
    void FlipFlag(bool Land, int Tile, int Bit) { Work[At(Land, Tile) + std::size_t(Bit / 8)] ^= 1u << (Bit % 8); }

    QByteArray Name(bool Land, int Tile) const
    {
        if (Tile < 0 || At(Land, Tile) >= Work.size())
            return QByteArray();
        const std::size_t at = FieldAt(Land, Tile, Land ? 2 : 13);
        QByteArray name;
        for (std::size_t k = at; k < at + NameBytes && k < Work.size() && Work[k]; ++k)
            name.append(char(Work[k]));
        return name;
    }
    void SetName(bool Land, int Tile, const QByteArray &Name)
    {
        const std::size_t at = FieldAt(Land, Tile, Land ? 2 : 13);
        for (int k = 0; k < NameBytes; ++k)
            Work[at + std::size_t(k)] = k < Name.size() ? (unsigned char)Name[k] : 0;
    }

    bool Modified() const
    {
        bool modified = false;
        ForEachWhole([&](bool Land, int Tile) { modified = modified || Differs(Work, Image, Land, Tile); });
        return modified;
    }

    // One undo step for what Change does to the tiles, kept only where it
    // changed their records.
    void Edit(bool Land, std::vector<int> Tiles, const std::function<void()> &Change)
    {
        std::sort(Tiles.begin(), Tiles.end());
        Step step{Land, {}};
        for (const int tile : Tiles)
            step.Records.push_back({tile, Record(Work, Land, tile), {}});
        Change();
        auto &records = step.Records;
        for (auto &record : records)
            record.After = Record(Work, Land, record.Tile);
        records.erase(std::remove_if(records.begin(), records.end(), [](const auto &R) { return R.Before == R.After; }),
                      records.end());
        if (records.empty())
            return;
        Steps.resize(Done);
        Steps.push_back(std::move(step));
        ++Done;
    }
    // The tiles an undo or redo selects, those its step changed, and their list.
    std::optional<std::pair<bool, std::vector<int>>> Undo()
    {
        if (Done == 0)
            return std::nullopt;
        return Put(Steps[--Done], true);
    }
    std::optional<std::pair<bool, std::vector<int>>> Redo()
    {
        if (Done == Steps.size())
            return std::nullopt;
        return Put(Steps[Done++], false);
    }

    // A tile of the step the next undo takes back, and its list.
    std::optional<std::pair<bool, int>> LastStepTile() const
    {
        if (Done == 0)
            return std::nullopt;
        return std::make_pair(Steps[Done - 1].Land, Steps[Done - 1].Records.back().Tile);
    }

    // Our edited records go over whatever the file holds; after it the
    // window holds what the file holds.
    void Save()
    {
        ForEachWhole([&](bool Land, int Tile) {
            if (Differs(Work, Image, Land, Tile))
                std::copy_n(Work.begin() + long(At(Land, Tile)), Size(Land), Disk.begin() + long(At(Land, Tile)));
        });
        Image = Work = Disk;
    }
    // A copy of the file on disk with every record as the user asked.
    Bytes Copy() const
    {
        Bytes copy = Disk;
        ForEachWhole([&](bool Land, int Tile) {
            std::copy_n(Work.begin() + long(At(Land, Tile)), Size(Land), copy.begin() + long(At(Land, Tile)));
        });
        return copy;
    }
    void Reload()
    {
        Image = Work = Disk;
        Steps.clear();
        Done = 0;
    }

    // Where a byte lies: "item 0x1A, byte 4 of 37", or "outside the records".
    QString Place(std::size_t Offset) const
    {
        QString place = QStringLiteral("outside the records");
        ForEachWhole([&](bool Land, int Tile) {
            if (Offset >= At(Land, Tile) && Offset < At(Land, Tile) + std::size_t(Size(Land)))
                place = QStringLiteral("%1 0x%2, byte %3 of %4")
                            .arg(Land ? "land" : "item", QString::number(Tile, 16).toUpper())
                            .arg(Offset - At(Land, Tile))
                            .arg(Size(Land));
        });
        return place;
    }

private:
    struct Change
    {
        int Tile;
        Bytes Before;
        Bytes After;
    };
    struct Step
    {
        bool Land;
        std::vector<Change> Records;
    };

    Bytes Record(const Bytes &From, bool Land, int Tile) const
    {
        const auto at = From.begin() + long(At(Land, Tile));
        return Bytes(at, at + Size(Land));
    }
    bool Differs(const Bytes &A, const Bytes &B, bool Land, int Tile) const
    {
        return !std::equal(A.begin() + long(At(Land, Tile)), A.begin() + long(At(Land, Tile) + std::size_t(Size(Land))),
                           B.begin() + long(At(Land, Tile)));
    }
    void ForEachWhole(const std::function<void(bool, int)> &Visit) const
    {
        for (const bool land : {false, true}) {
            for (int tile = 0; tile < Count(land) && IsWhole(land, tile); ++tile)
                Visit(land, tile);
        }
    }
    // What the user asked of a step is the fields it changed: a flag bit by
    // bit, any other field whole. Those, and only those, go back.
    std::pair<bool, std::vector<int>> Put(const Step &S, bool Before)
    {
        static const std::pair<int, int> itemFields[] = {{0, 1}, {1, 1}, {2, 2}, {4, 1}, {5, 1}, {6, 2},
                                                          {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, NameBytes}};
        static const std::pair<int, int> landFields[] = {{0, 2}, {2, NameBytes}};
        const int flags = Shape.FlagBytes();
        for (const Change &change : S.Records) {
            const Bytes &to = Before ? change.Before : change.After;
            unsigned char *record = Work.data() + At(S.Land, change.Tile);
            for (int k = 0; k < flags; ++k) {
                const auto mask = (unsigned char)(change.Before[k] ^ change.After[k]);
                record[k] = (unsigned char)((record[k] & ~mask) | (to[k] & mask));
            }
            for (const auto &[at, size] : S.Land ? std::vector(std::begin(landFields), std::end(landFields))
                                                 : std::vector(std::begin(itemFields), std::end(itemFields))) {
                const auto from = std::size_t(flags + at);
                if (!std::equal(change.Before.begin() + long(from), change.Before.begin() + long(from) + size,
                                change.After.begin() + long(from)))
                    std::copy_n(to.begin() + long(from), size, record + from);
            }
        }
        std::vector<int> tiles;
        for (const Change &change : S.Records)
            tiles.push_back(change.Tile);
        return {S.Land, tiles};
    }

    std::vector<Step> Steps;
    std::size_t Done = 0;
};

// -- the files and the actions ---------------------------------------------------

const QStringList FileNames = {
    QStringLiteral("rock"),      QStringLiteral("Rock"),       QStringLiteral("ROCK"),
    QStringLiteral("stone"),     QStringLiteral("wall"),       QStringLiteral("caf\u00E9"),
    QStringLiteral("CAF\u00C9"), QString(), QStringLiteral("twentycharacterslong"),
};
const QStringList TypedNames = {QStringLiteral("rock"),     QStringLiteral("Stone"),
                                QStringLiteral("WALL"),     QStringLiteral("caf\u00E9"),
                                QStringLiteral("Z\u00FCrich"), QStringLiteral("new name"),
                                QStringLiteral("a name longer than twenty"), QStringLiteral("\u03A9mega"),
                                QStringLiteral("\u043A\u0430\u043C\u0435\u043D\u044C")};
const QStringList SearchTexts = {QStringLiteral("ock"), QStringLiteral("ROCK"), QStringLiteral("wall"),
                                 QStringLiteral("caf"), QStringLiteral("ston"), QStringLiteral("zz")};
const QStringList FilterTexts = {QStringLiteral("ock"), QStringLiteral("wall"), QStringLiteral("st"), QString(),
                                 QStringLiteral("zz")};

// The last three fit neither layout: the window asks which to read them in.
enum class FileKind
{
    Classic,
    Newer,
    Short,
    NewerShort, // a newer file cut inside its second item group
    NewerOdd,   // a newer file with one byte too many
};

FileKind KindOfSeed(std::uint32_t Seed)
{
    return FileKind(Seed % 5);
}

bool IsNewerKind(FileKind Kind)
{
    return Kind == FileKind::Newer || Kind == FileKind::NewerShort || Kind == FileKind::NewerOdd;
}

constexpr std::size_t NewerShortSize = 496000;

// Every name from a few, some equal but for case, each followed by a zero
// and leftovers; everything else the writer's random bytes.
Bytes MakeFile(std::uint32_t Seed)
{
    LayoutTileWriter file = IsNewerKind(KindOfSeed(Seed)) ? LayoutTileWriter::Newer(3 + int(Seed % 4), Seed)
                                                         : LayoutTileWriter::Classic(Seed);
    std::mt19937 random(Seed);
    for (const bool land : {false, true}) {
        for (int tile = 0; tile < (land ? LayoutTileWriter::LandTiles : file.Items()); ++tile) {
            std::string raw = Encode(FileNames[int(random() % FileNames.size())])->toStdString();
            if (raw.size() < NameBytes)
                raw.push_back('\0');
            while (raw.size() < NameBytes)
                raw.push_back(char(random()));
            land ? file.SetRawLandName(tile, raw) : file.SetRawItemName(tile, raw);
        }
    }
    if (KindOfSeed(Seed) == FileKind::Short)
        file.Bytes().resize(ShortFileSize);
    if (KindOfSeed(Seed) == FileKind::NewerShort)
        file.Bytes().resize(NewerShortSize);
    if (KindOfSeed(Seed) == FileKind::NewerOdd)
        file.Bytes().push_back(0x5A);
    return file.Bytes();
}

enum class Verb
{
    Click, Key, GoTo, Find, FindNext, Filter, Flag, Number, Rename, TypeName, Replace,
    Switch, Undo, Redo, Save, SaveAs, Reload, Other, Close,
    ShiftClick, CtrlClick, ShiftKey, SelectAll, Copy, Paste, Compare, Difference, Take, StopComparing,
    GridClick, GridKey, GridType, GridMenu, UsedBy, Problems,
};

// What the user does; A, B and C choose its details when it is done.
struct Action
{
    Verb What;
    unsigned A = 0;
    unsigned B = 0;
    unsigned C = 0;
    QString Text;
};

Action RandomAction(std::mt19937 &Random)
{
    static const std::pair<Verb, int> weights[] = {
        {Verb::Click, 10}, {Verb::Key, 4},     {Verb::GoTo, 4},     {Verb::Find, 3},    {Verb::FindNext, 3},
        {Verb::Filter, 3}, {Verb::Flag, 10},   {Verb::Number, 12},  {Verb::Rename, 6},  {Verb::TypeName, 3},
        {Verb::Replace, 4}, {Verb::Switch, 4}, {Verb::Undo, 6},     {Verb::Redo, 3},    {Verb::Save, 5},
        {Verb::SaveAs, 2}, {Verb::Reload, 2},  {Verb::Other, 4},    {Verb::Close, 3},
        {Verb::ShiftClick, 5}, {Verb::CtrlClick, 4}, {Verb::ShiftKey, 4}, {Verb::SelectAll, 1},
        {Verb::Copy, 1}, {Verb::Paste, 6}, {Verb::Compare, 3}, {Verb::Difference, 4}, {Verb::Take, 5},
        {Verb::StopComparing, 1}, {Verb::GridClick, 6}, {Verb::GridKey, 4}, {Verb::GridType, 3},
        {Verb::GridMenu, 3}, {Verb::UsedBy, 2}, {Verb::Problems, 2},
    };
    int total = 0;
    for (const auto &entry : weights)
        total += entry.second;
    int pick = int(Random() % unsigned(total));
    Action action{Verb::Click, 0, 0, 0, QString()};
    for (const auto &[verb, weight] : weights) {
        if ((pick -= weight) < 0) {
            action.What = verb;
            break;
        }
    }
    action.A = Random();
    action.B = Random();
    action.C = Random();
    const auto from = [&](const QStringList &Texts) { return Texts[int(Random() % Texts.size())]; };
    if (action.What == Verb::Rename || action.What == Verb::Replace)
        action.Text = from(TypedNames);
    if (action.What == Verb::TypeName)
        action.Text = from(TypedNames.mid(0, 7)); // names the code page holds
    if (action.What == Verb::Find || action.What == Verb::FindNext)
        action.Text = from(SearchTexts);
    if (action.What == Verb::Filter)
        action.Text = from(FilterTexts);
    return action;
}

QString Quoted(const QString &Text)
{
    return QLatin1Char('"') + Text + QLatin1Char('"');
}

QString Hex(int Tile)
{
    return QStringLiteral("0x") + QString::number(Tile, 16).toUpper();
}

// -- one run: a fresh folder and window, the actions, and a close with Save ----------

struct Outcome
{
    bool Failed = false;
    QString Why;
    int At = -1; // the action that failed
    QStringList Log;
    int Checks = 0;
};

class Run
{
public:
    explicit Run(std::uint32_t Seed)
        : Seed(Seed)
        , Model(MakeFile(Seed))
    {
        Path = Folder.filePath(QStringLiteral("tiledata.mul"));
        TestFiles::WriteBytes(Path, Model.Disk);
        Start();
    }

    Outcome Play(const std::vector<Action> &Actions)
    {
        for (std::size_t k = 0; k < Actions.size() && !Out.Failed; ++k) {
            if (!Window->isVisible())
                Start();
            Act(Actions[k]);
            Out.At = int(k);
        }
        if (!Out.Failed && Window->isVisible()) {
            Act({Verb::Close, 0, 0, 0, QStringLiteral("at the end")}); // answered Save, and Overwrite
            Out.At = int(Actions.size());
            Out.Log.back().prepend(QStringLiteral("at the end: "));
        }
        if (!Out.Failed && !Answers.Unexpected.isEmpty())
            Fail(QStringLiteral("unexpected dialogs: ") + Answers.Unexpected.join(QStringLiteral(", ")));
        if (!Out.Failed && !Notes.isEmpty())
            Fail(Notes.join(QStringLiteral("; ")));
        return Out;
    }

private:
    void Start();
    qsizetype ErrorBoxes() const;
    void Act(const Action &A);
    void Dispatch(const Action &A);
    void Observe();
    void CommitPendingNumber(const Action &A);
    void CheckControls();
    void CheckFile();
    void Note(const QString &Text) { Notes << Text; }
    void Fail(const QString &Why)
    {
        Out.Failed = true;
        Out.Why = Why;
    }
    void Log(const QString &Text) { Line = Text; }
    void Ask(const QString &Question, const QString &Button);
    void Queue(std::function<void(QWidget *)> Answer);
    QString Tile() const { return Current < 0 ? QStringLiteral("none") : (Land ? "land " : "") + Hex(Current); }
    bool Editable() const { return Model.Takes(Land, Current); }
    // The answer to the layout question, asked of a file that fits neither
    // layout at every load; none for other files.
    std::optional<QString> LayoutAnswer() const;
    void QueueLayoutAnswer();
    void Enter(QLineEdit *Box, const QString &Text);

    void Click(const Action &A);
    void GoTo(const Action &A);
    void Find(const Action &A);
    void FindNext(const Action &A);
    void Filter(const Action &A);
    void Flag(const Action &A);
    void Number(const Action &A);
    void Rename(const Action &A);
    void TypeName(const Action &A);
    void Replace(const Action &A);
    void Undo(bool Redo);
    void Save(const Action &A);
    void SaveAs();
    void Reload(const Action &A);
    void Other(const Action &A);
    void Close(const Action &A);
    void ShiftClick(const Action &A);
    void CtrlClick(const Action &A);
    void ShiftKey(const Action &A);
    void SelectAll();
    void Paste(const Action &A);
    void Compare(const Action &A);
    void Difference(const Action &A);
    void Take(const Action &A);
    void StopComparing();
    void UsedBy();
    void Problems();
    // "line" or "cell", where the clicks go.
    QString Where() const;
    void ClickRow(int Row, Qt::KeyboardModifiers Keys);
    TPictureGrid &Grid();
    TPictureGrid &FocusedGrid();
    void GridKey(const Action &A);
    void GridType(const Action &A);
    void GridMenu(const Action &A);
    void MenuKey(QKeyCombination Keys);

    // The selected tiles that take edits.
    std::vector<int> EditableSelected() const;
    int RowOf(int Tile) const { return Tile < 0 ? -1 : Window->ListModel->RowOf(Tile); }
    int TileAt(int Row) const { return Window->ListModel->TileAt(Row); }
    // Where Shift-selection starts: the anchor's line, or the current one
    // while the anchor is not shown.
    int AnchorRow() const { return RowOf(Anchors[Land]) >= 0 ? RowOf(Anchors[Land]) : RowOf(Current); }
    std::vector<int> TilesOfRows(int First, int Last) const;
    // A line near the top mostly, so that edits meet.
    int SomeRow(const Action &A) const;
    bool OtherDiffers(int Tile) const;
    void CheckSelection();

    std::uint32_t Seed;
    int Loads = 0;
    QTemporaryDir Folder;
    QString Path;
    FileModel Model;
    ModalAnswers Answers;
    std::unique_ptr<TForm1> Window;
    Outcome Out;
    QStringList Notes;
    QString Line;
    QStringList Unasked;
    QStringList LayoutSeen;

    // What the window shows: the list, its selected tiles and the current
    // one; where each list's Shift-selection starts.
    bool Land = false;
    int Current = -1;
    std::vector<int> Selected;
    std::array<int, 2> Anchors{-1, -1};
    // The file compared with, while the window compares.
    std::unique_ptr<FileModel> OtherFile;
    int Others = 0;
    // Set while the clicks go to the Pictures window's grid.
    bool InGrid = false;
    // A name typed into the rename box, not confirmed, since the tile was shown.
    std::optional<QString> PendingName;
    // A number typed into a box that still has the focus.
    struct PendingNumber
    {
        bool Land;
        std::vector<int> Tiles;
        const Field *In;
        unsigned Value;
    };
    std::optional<PendingNumber> Pending;
    // The box of a value the model took in as this action began: the window
    // takes it in as the action's key goes, pressed in that box.
    QLineEdit *PendingBox = nullptr;
    int MenuKeys = 0;
    QString FindText;
    int Copies = 0;

    // Per action: the tile is shown anew, the error boxes expected (-1: any),
    // and the questions answered so far of those expected.
    bool Reshown = false;
    // Per action: the selection and current tile the user must see after
    // it, when the model can tell; and where the anchor goes.
    std::optional<std::pair<std::vector<int>, int>> Expected;
    std::optional<bool> ExpectedLand;
    std::optional<int> AnchorTo;
    bool AnchorsCurrent = false;
    bool Checked = false;
    int ExpectBoxes = 0;
    int Queued = 0;
    int Used = 0;
};

// The program starts on the file, as the user starts it again after a close.
void Run::Start()
{
    if (Window)
        Out.Log << QStringLiteral("start the program again on the file");
    Window.reset();
    ++Loads;
    const std::optional<QString> answer = LayoutAnswer();
    std::function<void(QWidget *)> then;
    if (answer)
        then = Press(*answer, &LayoutSeen);
    Window = OpenWindow(Answers, Path, then);
    Model.Reload();
    if (answer)
        Model.Answer(*answer, IsNewerKind(KindOfSeed(Seed)));
    PendingName.reset();
    Pending.reset();
    FindText.clear();
    Anchors = {-1, -1};
    OtherFile.reset();
    Observe();
}

// The error boxes the window has shown; its warnings (a short file) are
// no concern here.
qsizetype Run::ErrorBoxes() const
{
    return std::count_if(Answers.Boxes.begin(), Answers.Boxes.end(),
                         [](const ModalAnswers::MessageBox &Box) { return Box.Icon == QMessageBox::Critical; });
}

void Run::Act(const Action &A)
{
    const qsizetype boxes = ErrorBoxes();
    const bool land = Land;
    const int current = Current;
    const QByteArray name = Model.Name(Land, Current);
    ExpectBoxes = 0;
    Queued = Used = 0;
    Checked = false;
    Reshown = false;
    Expected.reset();
    ExpectedLand.reset();
    AnchorTo.reset();
    AnchorsCurrent = false;
    if (A.What != Verb::Other) {
        Window->activateWindow();
        (void)QTest::qWaitForWindowActive(Window.get(), 2000);
        CommitPendingNumber(A);
    }
    Dispatch(A);
    if (Used != Queued)
        return Fail(Line + QStringLiteral(": a question the model expects did not come"));
    if (ExpectBoxes >= 0 && ErrorBoxes() - boxes != ExpectBoxes)
        Note(QStringLiteral("%1: %2 error boxes expected, %3 seen")
                 .arg(Line)
                 .arg(ExpectBoxes)
                 .arg(ErrorBoxes() - boxes));
    if (Checked && !Out.Failed && !Notes.isEmpty())
        Fail(Notes.join(QStringLiteral("; ")));
    if (Window->isVisible()) {
        const std::vector<int> selected = Selected;
        Observe();
        if (Reshown || Land != land || Current != current || Selected != selected || Model.Name(Land, Current) != name)
            PendingName.reset();
        CheckControls();
        CheckSelection();
        if (AnchorTo)
            Anchors[Land] = *AnchorTo;
        else if (Anchors[Land] < 0 || (AnchorsCurrent && (Reshown || Current != current || Selected != selected)))
            Anchors[Land] = Current;
    }
    Out.Log << Line + QStringLiteral("   [shows %1]").arg(Window->isVisible() ? Tile() : QStringLiteral("closed"));
}

void Run::Dispatch(const Action &A)
{
    switch (A.What) {
    case Verb::Click: return Click(A);
    case Verb::Key:
        Log(A.A % 2 ? QStringLiteral("Down") : QStringLiteral("Up"));
        AnchorsCurrent = true;
        return Shortcut(*Window, A.A % 2 ? Qt::Key_Down : Qt::Key_Up);
    case Verb::GoTo: return GoTo(A);
    case Verb::Find: return Find(A);
    case Verb::FindNext: return FindNext(A);
    case Verb::Filter: return Filter(A);
    case Verb::Flag: return Flag(A);
    case Verb::Number: return Number(A);
    case Verb::Rename: return Rename(A);
    case Verb::TypeName: return TypeName(A);
    case Verb::Replace: return Replace(A);
    case Verb::Switch:
        Log(QStringLiteral("Ctrl+Tab"));
        Reshown = true;
        return MenuKey(Qt::CTRL | Qt::Key_Tab);
    case Verb::Undo: return Undo(false);
    case Verb::Redo: return Undo(true);
    case Verb::Save: return Save(A);
    case Verb::SaveAs: return SaveAs();
    case Verb::Reload: return Reload(A);
    case Verb::Other: return Other(A);
    case Verb::Close: return Close(A);
    case Verb::ShiftClick: return ShiftClick(A);
    case Verb::CtrlClick: return CtrlClick(A);
    case Verb::ShiftKey: return ShiftKey(A);
    case Verb::SelectAll: return SelectAll();
    case Verb::Copy:
        Log(QStringLiteral("Ctrl+C"));
        return MenuKey(Qt::CTRL | Qt::Key_C);
    case Verb::Paste: return Paste(A);
    case Verb::Compare: return Compare(A);
    case Verb::Difference: return Difference(A);
    case Verb::Take: return Take(A);
    case Verb::StopComparing: return StopComparing();
    case Verb::GridClick: {
        // A click, a Shift+click or a Ctrl+click on a cell of the pictures.
        const QScopedValueRollback<bool> grid(InGrid, true);
        const unsigned how = (A.C >> 4) % 3;
        return how == 0 ? Click(A) : how == 1 ? ShiftClick(A) : CtrlClick(A);
    }
    case Verb::GridKey: return GridKey(A);
    case Verb::GridType: return GridType(A);
    case Verb::GridMenu: return GridMenu(A);
    case Verb::UsedBy: return UsedBy();
    case Verb::Problems: return Problems();
    }
}

// The list shown and its selected line.
void Run::Observe()
{
    const auto *tabs = Window->findChild<QTabBar *>(QStringLiteral("SectionTabs"));
    Land = tabs->currentIndex() == 1;
    const int row = Window->ListBox1->currentIndex().row();
    const bool current = row >= 0 && Window->ListBox1->selectionModel()->isRowSelected(row, QModelIndex());
    Current = current ? TileAt(row) : -1;
    Selected.clear();
    for (const QModelIndex &line : Window->ListBox1->selectionModel()->selectedRows())
        Selected.push_back(TileAt(line.row()));
    std::sort(Selected.begin(), Selected.end());
}

void Run::CheckSelection()
{
    if (ExpectedLand && *ExpectedLand != Land)
        Note(Line + QStringLiteral(": the window does not show the list of the step"));
    if (!Expected || (Expected->first == Selected && Expected->second == Current))
        return;
    const auto text = [](const std::vector<int> &Tiles) {
        QStringList hex;
        for (std::size_t k = 0; k < Tiles.size() && k < 6; ++k)
            hex << Hex(Tiles[k]);
        return QStringLiteral("%1 tiles (%2%3)").arg(Tiles.size()).arg(hex.join(QStringLiteral(", ")),
                                                                      Tiles.size() > 6 ? ", ..." : "");
    };
    Note(QStringLiteral("%1: the window selects %2 with %3 current, the user %4 with %5 current")
             .arg(Line, text(Selected), Hex(Current), text(Expected->first), Hex(Expected->second)));
}

// The controls take edits exactly when the file holds the record of a
// selected tile.
void Run::CheckControls()
{
    const bool editable = !EditableSelected().empty();
    if (Window->Edit1->isEnabled() != editable)
        Note(QStringLiteral("%1: the controls of %2 are %3").arg(Line, Tile(), editable ? "disabled" : "enabled"));
}

void Run::CheckFile()
{
    ++Out.Checks;
    const Bytes file = TestFiles::ReadBytes(Path);
    if (file.size() != Model.Disk.size())
        return Fail(QStringLiteral("%1: the file has %2 bytes, the model %3")
                        .arg(Line)
                        .arg(file.size())
                        .arg(Model.Disk.size()));
    const auto [ours, theirs] = std::mismatch(file.begin(), file.end(), Model.Disk.begin());
    if (ours != file.end()) {
        const auto at = std::size_t(ours - file.begin());
        const auto differ = std::inner_product(file.begin(), file.end(), Model.Disk.begin(), std::size_t(0),
                                               std::plus<>(), std::not_equal_to<>());
        return Fail(Notes.join(QStringLiteral("; ")) + (Notes.isEmpty() ? "" : "; ")
                    + QStringLiteral("%1: the file differs from the model in %2 bytes, first at %3 (%4): "
                                     "file 0x%5, model 0x%6")
                        .arg(Line)
                        .arg(differ)
                        .arg(at)
                        .arg(Model.Place(at))
                        .arg(uint(*ours), 2, 16, QLatin1Char('0'))
                        .arg(uint(*theirs), 2, 16, QLatin1Char('0')));
    }
    Checked = true;
}

// An expected question, answered by the button; a question with other
// words, or none at all, fails the run.
void Run::Ask(const QString &Question, const QString &Button)
{
    Queue([this, Question, Button](QWidget *Modal) {
        QStringList seen;
        Press(Button, &seen)(Modal);
        if (seen.isEmpty() || !seen.front().contains(Question))
            Note(QStringLiteral("%1: expected the question %2, got %3")
                     .arg(Line, Quoted(Question), Quoted(seen.value(0))));
    });
}

void Run::Queue(std::function<void(QWidget *)> Answer)
{
    ++Queued;
    Answers.Then([this, Answer](QWidget *Modal) {
        ++Used;
        Answer(Modal);
    });
}

// A value typed into a box reaches its tile when the box loses the focus,
// which every action on the window makes it do, but typing into it again.
void Run::CommitPendingNumber(const Action &A)
{
    PendingBox = nullptr;
    if (!Pending)
        return;
    const PendingNumber pending = *Pending;
    Pending.reset();
    const bool sameBox = A.What == Verb::Number && Land == pending.Land
                         && (Land ? &Texture : &ItemFields[A.A % 11]) == pending.In;
    if (!sameBox)
        PendingBox = Window->findChild<QLineEdit *>(QLatin1String(pending.In->Box));
    if (!sameBox)
        Model.Edit(pending.Land, pending.Tiles, [&] {
            for (const int tile : pending.Tiles)
                Model.Put(pending.Land, tile, *pending.In, pending.Value);
        });
}

// Texts the keyboard cannot type are pasted.
void Run::Enter(QLineEdit *Box, const QString &Text)
{
    bool ascii = true;
    for (const QChar c : Text)
        ascii = ascii && c.unicode() < 0x80;
    ascii ? TypeInto(Box, Text) : PasteInto(Box, Text);
}

// Each start of the program gets the next answer of the three.
std::optional<QString> Run::LayoutAnswer() const
{
    static const char *const buttons[] = {"Classic", "Newer", "Read-only"};
    const FileKind kind = KindOfSeed(Seed);
    if (kind == FileKind::Classic || kind == FileKind::Newer)
        return std::nullopt;
    return QLatin1String(buttons[(Seed / 5 + unsigned(Loads)) % 3]);
}

// A reload or Save As asks again, and gets the answer the program started with.
void Run::QueueLayoutAnswer()
{
    if (const std::optional<QString> answer = LayoutAnswer())
        Queue(Press(*answer, &LayoutSeen));
}

// -- the actions ---------------------------------------------------------------------------

void Run::Click(const Action &A)
{
    const int count = ListCount(*Window);
    const int selected = SelectedRow(*Window);
    if (count == 0)
        return Log(QStringLiteral("click: no line"));
    // Mostly lines near the top, so that edits meet; now and then the selected one.
    const int near = A.C % 4 ? std::min(count, 48) : count;
    const int row = A.B % 4 == 0 && selected >= 0 ? selected : int(A.A % unsigned(near));
    Log(QStringLiteral("click %1 %2").arg(Where(), QString::number(row)));
    // A click on a line of the list shows its tile anew, the selected one
    // too; the grid shows a tile when its selection changes.
    Reshown = !InGrid;
    Expected = {{TileAt(row)}, TileAt(row)};
    AnchorTo = TileAt(row);
    ClickRow(row, Qt::NoModifier);
}

QString Run::Where() const
{
    return InGrid ? QStringLiteral("cell") : QStringLiteral("line");
}

// A click on a line of the list, or on the cell of the same row in the
// Pictures window's grid, which shows the list's tiles in its order.
void Run::ClickRow(int Row, Qt::KeyboardModifiers Keys)
{
    if (!InGrid) {
        Window->ListBox1->scrollTo(Window->ListModel->index(Row));
        QTest::mouseClick(Window->ListBox1->viewport(), Qt::LeftButton, Keys, LineRect(*Window, Row).center());
        return;
    }
    TPictureGrid &grid = Grid();
    const QModelIndex cell = grid.model()->index(Row, 0);
    grid.scrollTo(cell);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Keys, grid.visualRect(cell).center());
}

// A key of the main window's menus. Go to, Find and the keys that take or
// step between differences are pressed in the box of a value that waits
// there, as by a user who has not left it; the window takes the value in
// before the key acts, as the model does. Otherwise every other key goes to
// the Pictures window's grid while it is open, and the rest to the list.
void Run::MenuKey(QKeyCombination Keys)
{
    static const QList<QKeyCombination> leftToTheMenu{
        Qt::CTRL | Qt::Key_G, Qt::CTRL | Qt::Key_F,           QKeyCombination(Qt::Key_F3),
        QKeyCombination(Qt::Key_F8), Qt::SHIFT | Qt::Key_F8, Qt::CTRL | Qt::SHIFT | Qt::Key_T};
    if (PendingBox && QApplication::focusWidget() == PendingBox && leftToTheMenu.contains(Keys)) {
        Line += QStringLiteral(", in the box");
        return QTest::keyClick(PendingBox, Keys.key(), Keys.keyboardModifiers());
    }
    if (Window->Pictures && Window->Pictures->isVisible() && ++MenuKeys % 2) {
        Line += QStringLiteral(", in the grid");
        return QTest::keyClick(&FocusedGrid(), Keys.key(), Keys.keyboardModifiers());
    }
    Shortcut(*Window, Keys);
}

// The Pictures window's grid, the window opened first when it is not.
TPictureGrid &Run::Grid()
{
    if (!Window->Pictures || !Window->Pictures->isVisible()) {
        Window->findChild<QAction *>(QStringLiteral("PicturesAction"))->trigger();
        Window->Pictures->resize(640, 480);
    }
    return *Window->Pictures->Grid;
}

// The grid, its window active and the grid focused, for keys.
TPictureGrid &Run::FocusedGrid()
{
    TPictureGrid &grid = Grid();
    grid.window()->activateWindow();
    (void)QTest::qWaitForWindowActive(grid.window(), 2000);
    grid.setFocus();
    return grid;
}

// An arrow, Home, End or a page key in the grid, with Shift or without. Where
// the keys that cross rows land depends on the grid's columns and height, so
// the model takes the cell the grid made current, and predicts from it the
// selection: that tile alone, or with Shift the range from the anchor. The
// grid and the list must then show the same lines selected.
void Run::GridKey(const Action &A)
{
    static const std::array<std::pair<Qt::Key, const char *>, 8> keys{{
        {Qt::Key_Left, "Left"}, {Qt::Key_Right, "Right"}, {Qt::Key_Up, "Up"}, {Qt::Key_Down, "Down"},
        {Qt::Key_Home, "Home"}, {Qt::Key_End, "End"}, {Qt::Key_PageUp, "Page Up"}, {Qt::Key_PageDown, "Page Down"},
    }};
    const auto &[key, name] = keys[A.A % keys.size()];
    // A range needs a current tile in view to start from.
    const int from = RowOf(Current);
    const bool shift = A.B % 2 && from >= 0;
    Log(QStringLiteral("%1%2 in the grid").arg(shift ? "Shift+" : "", name));
    TPictureGrid &grid = FocusedGrid();
    QTest::keyClick(&grid, key, shift ? Qt::ShiftModifier : Qt::NoModifier);
    const int to = grid.currentIndex().row();
    if (to >= 0 && to != from && grid.selectionModel()->isRowSelected(to, QModelIndex())) {
        if (!shift) {
            Expected = {{TileAt(to)}, TileAt(to)};
            AnchorsCurrent = true;
        } else {
            if (RowOf(Anchors[Land]) < 0)
                AnchorTo = Current;
            Expected = {TilesOfRows(AnchorRow(), to), TileAt(to)};
        }
    }
    const auto rows = [](const QAbstractItemView &View) {
        QList<QModelIndex> lines = View.selectionModel()->selectedRows();
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    if (rows(grid) != rows(*Window->ListBox1))
        Note(Line + QStringLiteral(": the grid and the list select different lines"));
}

// A hex index typed in the grid: each digit goes to the tile typed so far
// when the grid shows it. Now and then Escape brings back the selection
// from before the typing, once it went to a tile.
void Run::GridType(const Action &A)
{
    const int count = Model.Count(Land);
    const int tile = int(A.A % unsigned(A.B % 2 ? std::min(count, 48) : count + 8));
    const QString typed = QString::number(tile, 16);
    const bool back = A.C % 3 == 0;
    Log(QStringLiteral("type %1 in the grid%2").arg(typed.toUpper(), back ? ", Escape" : ""));
    int to = -1;
    for (qsizetype digits = 1; digits <= typed.size(); ++digits) {
        const int prefix = typed.left(digits).toInt(nullptr, 16);
        if (RowOf(prefix) >= 0)
            to = prefix;
    }
    const std::pair<std::vector<int>, int> before{Selected, Current};
    TPictureGrid &grid = FocusedGrid();
    QTest::keyClicks(&grid, typed);
    if (back)
        QTest::keyClick(&grid, Qt::Key_Escape);
    if (to < 0)
        return;
    Reshown = true;
    if (back) {
        Expected = before;
        AnchorTo = Anchors[Land];
    } else {
        Expected = {{to}, to};
        AnchorsCurrent = true;
    }
}

// A right click on a cell, and an entry of its menu: Copy Tiles, Go to
// Tile or Show in List. A cell not selected is selected alone first.
void Run::GridMenu(const Action &A)
{
    const int count = ListCount(*Window);
    if (count == 0)
        return Log(QStringLiteral("cell menu: no cell"));
    const int row = int(A.A % unsigned(std::min(count, 48)));
    static const char *const entries[] = {"&Copy Tiles", "&Go to Tile...", "Show in &List"};
    const QString entry = QLatin1String(entries[A.B % 3]);
    Log(QStringLiteral("cell menu on %1, %2").arg(row).arg(QString(entry).remove(QLatin1Char('&'))));
    TPictureGrid &grid = FocusedGrid();
    const QModelIndex cell = grid.model()->index(row, 0);
    grid.scrollTo(cell);
    if (!grid.selectionModel()->isRowSelected(row, QModelIndex())) {
        Reshown = true;
        Expected = {{TileAt(row)}, TileAt(row)};
        AnchorsCurrent = true;
    }
    if (entry == QLatin1String("&Go to Tile...")) {
        const int tile = int(A.C % unsigned(Model.Count(Land) + 8));
        Line += QStringLiteral(" %1").arg(Hex(tile));
        Queue(Type(QString::number(tile, 16)));
        if (tile < Model.Count(Land)) {
            Reshown = true;
            Expected = {{tile}, tile};
            AnchorsCurrent = true;
        }
    }
    bool offered = false;
    QTimer::singleShot(0, &grid, [&offered, entry] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *choice : menu->actions()) {
            if (choice->text() == entry && choice->isEnabled()) {
                offered = true;
                menu->setActiveAction(choice);
                return QTest::keyClick(menu, Qt::Key_Return);
            }
        }
        menu->close();
    });
    const QPoint at = grid.visualRect(cell).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &event);
    if (!offered)
        Note(Line + QStringLiteral(": the menu does not offer it"));
    if (entry == QLatin1String("Show in &List")
        && (!QTest::qWaitForWindowActive(Window.get(), 1000) || QApplication::focusWidget() != Window->ListBox1))
        Note(Line + QStringLiteral(": the list is not focused"));
}

void Run::GoTo(const Action &A)
{
    const int count = Model.Count(Land);
    const int tile = int(A.A % unsigned(A.B % 2 ? std::min(count, 48) : count + 8));
    Log(QStringLiteral("Ctrl+G %1").arg(Hex(tile)));
    Reshown = tile < count;
    if (Reshown) {
        Expected = {{tile}, tile};
        AnchorsCurrent = true;
    }
    Queue(Type(QString::number(tile, 16)));
    MenuKey(Qt::CTRL | Qt::Key_G);
}

void Run::Find(const Action &A)
{
    Log(QStringLiteral("%1 %2").arg(A.B % 2 ? "Find..." : "Ctrl+F", Quoted(A.Text)));
    FindText = A.Text;
    Reshown = true;
    AnchorsCurrent = true;
    Queue(Type(A.Text));
    if (A.B % 2)
        QTest::mouseClick(Window->Button5, Qt::LeftButton);
    else
        MenuKey(Qt::CTRL | Qt::Key_F);
}

// Finds the next tile whose name holds the text (the texts are ASCII),
// asking for the text when none was given yet.
void Run::FindNext(const Action &A)
{
    Log(QStringLiteral("F3"));
    if (FindText.isEmpty()) {
        FindText = A.Text;
        Queue(Type(A.Text));
    }
    AnchorsCurrent = true;
    const QByteArray wanted = FindText.toUpper().toLatin1();
    for (int tile = 0; tile < Model.Count(Land) && !Reshown; ++tile)
        Reshown = Model.Name(Land, tile).toUpper().contains(wanted);
    MenuKey(Qt::Key_F3);
}

void Run::Filter(const Action &A)
{
    Log(QStringLiteral("filter %1").arg(Quoted(A.Text)));
    auto *box = Window->findChild<QLineEdit *>(QStringLiteral("FilterBox"));
    ClickInto(box);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, A.Text);
}

void Run::Flag(const Action &A)
{
    static const char *const lower[] = {
        "cbBackground", "cbWeapon",  "cbTransparent", "cbTranslucent", "cbWall",       "cbDamaging",  "cbImpassable",
        "cbWet",        "cbUnknown1", "cbSurface",    "cbBridge",      "cbGeneric",    "cbWindow",    "cbNoShoot",
        "cbPrefixA",    "cbPrefixAN", "cbMongen",     "cbFoliage",     "cbPartialhue", "cbUnknown2",  "cbMap",
        "cbContainer",  "cbWearable", "cbLightsource", "cbAnimated",   "cbnodiagonal", "cbUnknown3",  "cbArmor",
        "cbRoof",       "cbDoor",     "cbStairsback", "cbStairRight",
    };
    const int bit = int(A.A % unsigned(Model.Shape.FlagBytes() * 8));
    Log(QStringLiteral("flag bit %1").arg(bit));
    const QString name = bit < 32 ? QLatin1String(lower[bit]) : QStringLiteral("cbBit%1").arg(bit);
    auto *box = Window->findChild<QCheckBox *>(name);
    auto *page = Window->findChild<QToolButton *>(QStringLiteral("btUpperFlags"));
    if (!box->isVisible() && page && page->isVisible())
        page->click();
    if (!box->isVisible() || !box->isEnabled())
        return Log(Line + QStringLiteral(" (not shown)"));
    // A box checked for every selected tile the file holds clears the bit;
    // any other sets it. Tiles beyond a short file's end have no flags.
    const auto has = [&](int Tile) {
        const std::size_t at = Model.At(Land, Tile) + std::size_t(bit / 8);
        return at < Model.Work.size() && (Model.Work[at] >> (bit % 8)) & 1;
    };
    const std::vector<int> tiles = EditableSelected();
    const bool set = !std::all_of(tiles.begin(), tiles.end(), has);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
    Model.Edit(Land, tiles, [&] {
        for (const int tile : tiles) {
            if (has(tile) != set)
                Model.FlipFlag(Land, tile, bit);
        }
    });
}

QString ValueText(const Field &F, unsigned Value)
{
    return F.Hex ? QString::number(Value, 16).toUpper() : QString::number(Value);
}

// A value in range with Tab, or left in the box; one out of range or one
// that is no number at all is refused, and the user types the old value back.
void Run::Number(const Action &A)
{
    const Field &field = Land ? Texture : ItemFields[A.A % 11];
    auto *box = Window->findChild<QLineEdit *>(QLatin1String(field.Box));
    const unsigned max = field.Size == 1 ? 0xFFu : 0xFFFFu;
    const unsigned how = A.C % 8;
    const bool junk = how == 7 && !field.Hex;
    const bool outside = how == 6 || (how == 7 && field.Hex);
    const unsigned value = outside ? max + 1 + A.B % (15 * max) : A.B % (max + 1);
    const QString text = junk ? QStringLiteral("abc") : ValueText(field, value);
    Log(QStringLiteral("%1 %2%3").arg(field.Name, Quoted(text), how == 5 ? "" : ", Tab"));
    if (!box->isEnabled())
        return Log(Line + QStringLiteral(" (disabled)"));
    junk ? PasteInto(box, text) : TypeInto(box, text);
    if (how == 5) {
        if (!EditableSelected().empty())
            Pending = PendingNumber{Land, EditableSelected(), &field, value};
        return;
    }
    const qsizetype boxes = ErrorBoxes();
    QTest::keyClick(box, Qt::Key_Tab);
    ExpectBoxes = EditableSelected().empty() ? -1 : junk || outside ? 1 : 0;
    const std::vector<int> tiles = EditableSelected();
    if (!tiles.empty() && !junk && !outside)
        Model.Edit(Land, tiles, [&] {
            for (const int tile : tiles)
                Model.Put(Land, tile, field, value);
        });
    // The user leaves a refused box by typing the value of a tile that takes
    // edits, which then goes into every selected one.
    if (ErrorBoxes() > boxes && !tiles.empty()) {
        const unsigned old = Model.Get(Land, tiles.front(), field);
        // The box must have the focus for Tab to leave it.
        Window->activateWindow();
        (void)QTest::qWaitForWindowActive(Window.get(), 2000);
        box->setFocus(Qt::OtherFocusReason);
        TypeInto(box, ValueText(field, old));
        QTest::keyClick(box, Qt::Key_Tab);
        Model.Edit(Land, tiles, [&] {
            for (const int tile : tiles)
                Model.Put(Land, tile, field, old);
        });
    }
}

// Return or the Rename button; a refused name is left by clicking the line.
void Run::Rename(const Action &A)
{
    Log(QStringLiteral("rename to %1, %2").arg(Quoted(A.Text), A.B % 2 ? "Return" : "Rename"));
    if (!Window->Edit1->isEnabled())
        return Log(Line + QStringLiteral(" (disabled)"));
    Enter(Window->Edit1, A.Text);
    const qsizetype boxes = ErrorBoxes();
    const bool many = Selected.size() > 1 && !EditableSelected().empty();
    if (many)
        Ask(QStringLiteral("Rename %1 tiles").arg(QLocale(QLocale::English).toString(qlonglong(Selected.size()))),
            QStringLiteral("Rename"));
    if (A.B % 2)
        QTest::keyClick(Window->Edit1, Qt::Key_Return);
    else
        QTest::mouseClick(Window->Button2, Qt::LeftButton);
    Reshown = true;
    const std::optional<QByteArray> bytes = Encode(A.Text.left(NameBytes));
    ExpectBoxes = EditableSelected().empty() ? -1 : bytes ? 0 : 1;
    const std::vector<int> tiles = EditableSelected();
    if (!EditableSelected().empty() && bytes)
        Model.Edit(Land, tiles, [&] {
            for (const int tile : tiles)
                Model.SetName(Land, tile, *bytes);
        });
    if (ErrorBoxes() > boxes && SelectedRow(*Window) >= 0) {
        const int row = SelectedRow(*Window);
        Expected = {{TileAt(row)}, TileAt(row)};
        AnchorTo = TileAt(row);
        ClickLine(*Window, row);
    }
}

void Run::TypeName(const Action &A)
{
    Log(QStringLiteral("type name %1").arg(Quoted(A.Text)));
    if (!Window->Edit1->isEnabled())
        return Log(Line + QStringLiteral(" (disabled)"));
    Enter(Window->Edit1, A.Text);
    PendingName = A.Text.left(NameBytes);
}

// Every tile of the list shown named as "Replace this:" says, but for case
// of a to z, gets the new name.
void Run::Replace(const Action &A)
{
    const QString old = Window->Label2->text();
    Log(QStringLiteral("Global Replace %1 with %2").arg(Quoted(old), Quoted(A.Text)));
    Enter(Window->Edit2, A.Text);
    QTest::mouseClick(Window->Button1, Qt::LeftButton);
    const std::optional<QByteArray> bytes = Encode(A.Text.left(NameBytes));
    const std::optional<QByteArray> oldBytes = Encode(old);
    if (Model.ReadOnly || old.isEmpty() || A.Text.isEmpty() || !oldBytes)
        return;
    if (!bytes) {
        ExpectBoxes = 1;
        return;
    }
    std::vector<int> tiles;
    for (int tile = 0; tile < Model.Count(Land) && Model.Takes(Land, tile); ++tile) {
        if (SameName(Model.Name(Land, tile), *oldBytes))
            tiles.push_back(tile);
    }
    Model.Edit(Land, tiles, [&] {
        for (const int tile : tiles)
            Model.SetName(Land, tile, *bytes);
    });
}

void Run::Undo(bool Redo)
{
    Log(Redo ? QStringLiteral("Ctrl+Y") : QStringLiteral("Ctrl+Z"));
    const auto shown = Redo ? Model.Redo() : Model.Undo();
    Reshown = bool(shown);
    // The step's tiles come back selected, the current tile kept among them;
    // the other list's current tile is not followed here.
    const bool sameList = shown && shown->first == Land;
    const std::vector<int> tiles = shown ? shown->second : std::vector<int>();
    const bool kept = sameList && std::binary_search(tiles.begin(), tiles.end(), Current);
    MenuKey(Qt::CTRL | (Redo ? Qt::Key_Y : Qt::Key_Z));
    if (shown) {
        ExpectedLand = shown->first;
        if (sameList || tiles.size() == 1)
            Expected = {tiles, kept ? Current : tiles.front()};
        AnchorsCurrent = true;
    }
}

void Run::Save(const Action &A)
{
    // Without edits, another program's change is left to Reload: no question.
    const bool changedElsewhere = Model.Disk != Model.Image;
    const bool asked = changedElsewhere && Model.Modified();
    const bool overwrite = A.A % 2 == 0;
    Log(QStringLiteral("Save") + (asked ? (overwrite ? ", Overwrite" : ", Cancel") : ""));
    if (asked)
        Ask(QStringLiteral("has changed on disk"), overwrite ? QStringLiteral("Overwrite") : QStringLiteral("Cancel"));
    QTest::mouseClick(Window->BitBtn1, Qt::LeftButton);
    if (!changedElsewhere || (asked && overwrite))
        Model.Save();
    CheckFile();
}

void Run::SaveAs()
{
    const QString path = Folder.filePath(QStringLiteral("copy%1.mul").arg(++Copies));
    Log(QStringLiteral("Save As copy%1.mul").arg(Copies));
    Queue(ChooseFile(path));
    QueueLayoutAnswer();
    MenuKey(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    Reshown = true;
    if (TestFiles::ReadBytes(Path) != Model.Disk)
        return Fail(Line + QStringLiteral(": Save As changed the file it copied"));
    Model.Disk = Model.Copy();
    Model.Image = Model.Work = Model.Disk;
    Path = path;
    CheckFile();
}

void Run::Reload(const Action &A)
{
    const bool asked = Model.Modified();
    const bool discard = A.A % 2 == 0;
    Log(QStringLiteral("Reload") + (asked ? (discard ? ", Discard" : ", Cancel") : ""));
    if (asked)
        Ask(QStringLiteral("Discard your changes"), discard ? QStringLiteral("Discard") : QStringLiteral("Cancel"));
    if (!asked || discard)
        QueueLayoutAnswer();
    MenuAction(*Window, QStringLiteral("&Reload"))->trigger();
    if (asked && !discard)
        return;
    Model.Reload();
    Reshown = true;
}

// Another program changes one byte of a record: of the tile shown, or of
// one near the top of either list.
void Run::Other(const Action &A)
{
    bool land = A.C % 2;
    int tile = A.A % 3 == 0 && land == Land && Editable() ? Current : int(A.A % 48);
    // Now and then a tile the last undo step changed, so that an undo after
    // the change comes in has to keep it.
    if (const std::optional<std::pair<bool, int>> stepped = Model.LastStepTile(); stepped && A.A % 3 == 1)
        std::tie(land, tile) = *stepped;
    const std::size_t at = Model.At(land, tile) + A.B % unsigned(Model.Size(land));
    const auto byte = (unsigned char)('!' + (A.B >> 8) % 94); // what the writer passes on unchanged
    Log(QStringLiteral("another program writes 0x%1 at %2")
            .arg(uint(byte), 2, 16, QLatin1Char('0'))
            .arg(Model.Place(at)));
    if (!TestFiles::WriteByteElsewhere(Path, at, char(byte)))
        return Fail(Line + QStringLiteral(": could not"));
    Model.Disk[at] = byte;
    // The window notices, and makes room for its bar, before the next action.
    auto *bar = Window->findChild<QWidget *>(QStringLiteral("FileWatchBar"));
    if (bar)
        (void)QTest::qWaitFor([bar] { return bar->isVisible(); }, 1000);
}

// Save confirms a name typed and not confirmed, then saves, asking before
// it overwrites another program's change.
void Run::Close(const Action &A)
{
    static const char *const buttons[] = {"Save", "Discard", "Cancel"};
    const unsigned answer = A.A % 3;
    const bool overwrite = A.B % 2 == 0;
    const std::optional<QByteArray> typed = PendingName ? Encode(*PendingName) : std::nullopt;
    const bool named = Editable() && typed && *typed != Model.Name(Land, Current);
    const bool asked = Model.Modified() || named;
    bool closes = !asked || answer == 1;
    if (asked)
        Ask(QStringLiteral("Save changes to"), QLatin1String(buttons[answer]));
    // At the end the user keeps whatever the window holds, even when it
    // asks unexpectedly, so that the file shows what the window did.
    if (!asked && !A.Text.isEmpty())
        Answers.Then(Press(QStringLiteral("Save"), &Unasked));
    const bool conflict = asked && answer == 0 && Model.Disk != Model.Image;
    if (conflict)
        Ask(QStringLiteral("has changed on disk"), overwrite ? QStringLiteral("Overwrite") : QStringLiteral("Cancel"));
    Log(QStringLiteral("Close") + (asked ? QStringLiteral(", ") + buttons[answer] : QString())
        + (conflict ? (overwrite ? ", Overwrite" : ", Cancel") : ""));
    if (asked && answer == 0) {
        const std::vector<int> tiles = EditableSelected();
        if (named)
            Model.Edit(Land, tiles, [&] {
                for (const int tile : tiles)
                    Model.SetName(Land, tile, *typed);
            });
        PendingName.reset();
        closes = !conflict || overwrite;
        if (closes)
            Model.Save();
    }
    QTest::mouseClick(Window->BitBtn2, Qt::LeftButton);
    if (Window->isVisible() == closes)
        Note(Line + (closes ? QStringLiteral(": the window stayed open") : QStringLiteral(": the window closed")));
    CheckFile();
}

// -- selections of many tiles ---------------------------------------------------------------

std::vector<int> Run::EditableSelected() const
{
    std::vector<int> tiles;
    std::copy_if(Selected.begin(), Selected.end(), std::back_inserter(tiles),
                 [this](int Tile) { return Model.Takes(Land, Tile); });
    return tiles;
}

std::vector<int> Run::TilesOfRows(int First, int Last) const
{
    std::vector<int> tiles;
    for (int row = std::min(First, Last); row <= std::max(First, Last); ++row)
        tiles.push_back(TileAt(row));
    std::sort(tiles.begin(), tiles.end());
    return tiles;
}

int Run::SomeRow(const Action &A) const
{
    const int count = ListCount(*Window);
    return int(A.A % unsigned(A.C % 4 ? std::min(count, 48) : count));
}

void Run::ShiftClick(const Action &A)
{
    if (ListCount(*Window) == 0)
        return Log(QStringLiteral("Shift+click: no line"));
    const int row = SomeRow(A);
    Log(QStringLiteral("Shift+click %1 %2").arg(Where(), QString::number(row)));
    // Without a current tile Shift+click selects the tile alone; a range
    // from a tile the filter hides starts at the current one instead.
    Reshown = !InGrid && TileAt(row) == Current;
    if (Current < 0) {
        Expected = {{TileAt(row)}, TileAt(row)};
        AnchorTo = TileAt(row);
    } else {
        AnchorTo = RowOf(Anchors[Land]) < 0 ? Current : Anchors[Land];
        Expected = {TilesOfRows(AnchorRow(), row), TileAt(row)};
    }
    ClickRow(row, Qt::ShiftModifier);
}

// Ctrl+click takes a line into the selection or out of it, but never the
// only one; the line clicked anchors the next Shift-selection.
void Run::CtrlClick(const Action &A)
{
    if (ListCount(*Window) == 0)
        return Log(QStringLiteral("Ctrl+click: no line"));
    const int row = SomeRow(A);
    const int tile = TileAt(row);
    Log(QStringLiteral("Ctrl+click %1 %2").arg(Where(), QString::number(row)));
    std::vector<int> tiles = Selected;
    const auto at = std::lower_bound(tiles.begin(), tiles.end(), tile);
    if (tiles == std::vector<int>{tile}) {
        Expected = {tiles, tile};
        Reshown = !InGrid;
    } else {
        at != tiles.end() && *at == tile ? (void)tiles.erase(at) : (void)tiles.insert(at, tile);
        const bool kept = std::binary_search(tiles.begin(), tiles.end(), tile);
        Expected = {tiles, kept ? tile : tiles.front()};
        AnchorTo = tile;
    }
    ClickRow(row, Qt::ControlModifier);
}

void Run::ShiftKey(const Action &A)
{
    const bool down = A.A % 2;
    Log(down ? QStringLiteral("Shift+Down") : QStringLiteral("Shift+Up"));
    const int from = RowOf(Current);
    const int to = std::clamp(from + (down ? 1 : -1), 0, ListCount(*Window) - 1);
    // With no current line the key makes the first line current, selects
    // it alone, and it anchors, as a Shift+click would.
    if (from < 0 && to >= 0) {
        Expected = {{TileAt(to)}, TileAt(to)};
        AnchorTo = TileAt(to);
    }
    if (RowOf(Anchors[Land]) < 0 && to != from && from >= 0)
        AnchorTo = Current;
    if (from >= 0 && to != from && AnchorRow() >= 0)
        Expected = {TilesOfRows(AnchorRow(), to), TileAt(to)};
    Shortcut(*Window, Qt::SHIFT | (down ? Qt::Key_Down : Qt::Key_Up));
}

void Run::SelectAll()
{
    Log(QStringLiteral("Ctrl+A"));
    if (Current >= 0) {
        Expected = {TilesOfRows(0, ListCount(*Window) - 1), Current};
        // A selection that already holds every line does not change, and
        // keeps its anchor.
        if (Selected != Expected->first)
            AnchorTo = Current;
    }
    Shortcut(*Window, Qt::CTRL | Qt::Key_A);
}

// -- copy and paste ---------------------------------------------------------------------------

// Text in the tool's columns: lines for tiles near the top with an index,
// or one line without for every selected tile; now and then a faulty one,
// which changes nothing.
void Run::Paste(const Action &A)
{
    struct Column
    {
        const char *Name;
        const Field *In; // none: the name
    };
    static const Column item[] = {{"weight", &ItemFields[0]}, {"quality", &ItemFields[1]},
                                  {"hue", &ItemFields[7]},    {"height", &ItemFields[10]}, {"name", nullptr}};
    static const Column land[] = {{"texture", &Texture}, {"name", nullptr}};
    static const char *const names[] = {"rock", "Stone", "new name", "a wall"};
    std::mt19937 random(A.B);
    std::vector<Column> columns;
    for (const Column &column : Land ? std::vector<Column>(std::begin(land), std::end(land))
                                     : std::vector<Column>(std::begin(item), std::end(item))) {
        if (random() % 2)
            columns.push_back(column);
    }
    const unsigned how = A.C % 8;
    const bool indexed = how < 4;
    const bool faulty = how == 7;
    // A faulty text has a number out of range in its first column.
    if (columns.empty() || (faulty && !columns.front().In))
        columns.insert(columns.begin(), Land ? land[0] : item[0]);
    std::vector<int> tiles;
    if (indexed) {
        for (int k = 1 + int(random() % 3); k > 0; --k)
            tiles.push_back(int(random() % 48u));
        std::sort(tiles.begin(), tiles.end());
        tiles.erase(std::unique(tiles.begin(), tiles.end()), tiles.end());
    }
    const int lines = indexed ? int(tiles.size()) : faulty && A.A % 2 ? 2 : 1;
    QStringList header;
    if (indexed)
        header << QStringLiteral("index");
    for (const Column &column : columns)
        header << QLatin1String(column.Name);
    QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
    std::vector<std::vector<unsigned>> values(static_cast<std::size_t>(lines));
    for (int line = 0; line < lines; ++line) {
        QStringList cells;
        if (indexed)
            cells << Hex(tiles[std::size_t(line)]);
        for (const Column &column : columns) {
            const unsigned max = column.In && column.In->Size == 2 ? 0xFFFFu : 0xFFu;
            const unsigned value = column.In ? random() % (max + 1) : random() % 4;
            values[std::size_t(line)].push_back(value);
            cells << (column.In ? QString::number(value) : QLatin1String(names[value]));
        }
        if (faulty && line == 0 && (indexed || A.A % 2 == 0))
            cells[indexed ? 1 : 0] = QStringLiteral("70000");
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    Log(QStringLiteral("Ctrl+V %1").arg(Quoted(QString(text).replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QStringLiteral(" / ")))));
    QApplication::clipboard()->setText(text);
    MenuKey(Qt::CTRL | Qt::Key_V);
    if (faulty) {
        ExpectBoxes = Model.ReadOnly ? 0 : 1;
        return;
    }
    const auto write = [&](int Tile, const std::vector<unsigned> &Values) {
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (columns[k].In)
                Model.Put(Land, Tile, *columns[k].In, Values[k]);
            else if (Model.Name(Land, Tile) != names[Values[k]]) // as apply: the bytes after it stay
                Model.SetName(Land, Tile, QByteArray(names[Values[k]]));
        }
    };
    if (!indexed) {
        const std::vector<int> editable = EditableSelected();
        Model.Edit(Land, editable, [&] {
            for (const int tile : editable)
                write(tile, values[0]);
        });
        return;
    }
    std::vector<int> whole;
    for (std::size_t line = 0; line < tiles.size(); ++line) {
        if (Model.Takes(Land, tiles[line]))
            whole.push_back(tiles[line]);
    }
    if (whole.empty())
        return;
    Reshown = true;
    Expected = {whole, whole.front()};
    AnchorTo = whole.front();
    Model.Edit(Land, whole, [&] {
        for (std::size_t line = 0; line < tiles.size(); ++line) {
            if (Model.Takes(Land, tiles[line]))
                write(tiles[line], values[line]);
        }
    });
}

// -- comparing with another file -------------------------------------------------------------------

// The other file: the file with a few bytes changed in records near the
// top, or the same cut short, or a file of the other layout.
void Run::Compare(const Action &A)
{
    const QString name = QStringLiteral("other%1.mul").arg(++Others);
    const unsigned how = A.B % 3;
    Bytes bytes = Model.Disk;
    if (how == 2) {
        bytes = Model.Shape.IsNewer() ? LayoutTileWriter::Classic(A.C).Bytes()
                                      : LayoutTileWriter::Newer(3, A.C).Bytes();
    } else {
        std::mt19937 random(A.C);
        for (int k = 0; k < 12; ++k) {
            const bool land = random() % 2;
            const std::size_t at = Model.At(land, int(random() % 48u)) + random() % unsigned(Model.Size(land));
            if (at < bytes.size())
                bytes[at] = (unsigned char)random();
        }
        if (how == 1 && bytes.size() > ShortFileSize)
            bytes.resize(ShortFileSize);
    }
    Log(QStringLiteral("Ctrl+D %1 (%2)").arg(name, QLatin1String(how == 2 ? "other layout" : how ? "short" : "a few bytes")));
    TestFiles::WriteBytes(Folder.filePath(name), bytes);
    Queue(ChooseFile(Folder.filePath(name)));
    MenuKey(Qt::CTRL | Qt::Key_D);
    OtherFile = std::make_unique<FileModel>(bytes);
}

// Tiles both files wholly hold differ when their flags differ as numbers,
// or any other byte of the record does.
bool Run::OtherDiffers(int Tile) const
{
    if (!OtherFile || !Model.IsWhole(Land, Tile) || !OtherFile->IsWhole(Land, Tile))
        return false;
    const auto flags = [&](const FileModel &F) {
        std::uint64_t value = 0;
        for (int k = F.Shape.FlagBytes() - 1; k >= 0; --k)
            value = value << 8 | F.Work[F.At(Land, Tile) + std::size_t(k)];
        return value;
    };
    const int rest = Land ? 22 : 33;
    const auto ours = Model.Work.begin() + long(Model.At(Land, Tile)) + Model.Shape.FlagBytes();
    const auto theirs = OtherFile->Work.begin() + long(OtherFile->At(Land, Tile)) + OtherFile->Shape.FlagBytes();
    return flags(Model) != flags(*OtherFile) || !std::equal(ours, ours + rest, theirs);
}

// F8 or Shift+F8: the next differing line after the current one, round the
// end of the list.
void Run::Difference(const Action &A)
{
    const bool forward = A.A % 2;
    Log(forward ? QStringLiteral("F8") : QStringLiteral("Shift+F8"));
    const int rows = ListCount(*Window);
    const int from = RowOf(Current);
    for (int step = 1; OtherFile && step <= rows; ++step) {
        const int ahead = forward ? (from < 0 ? step - 1 : from + step) : (from < 0 ? rows - step : from - step);
        const int tile = TileAt((ahead % rows + rows) % rows);
        if (OtherDiffers(tile)) {
            Reshown = true;
            Expected = {{tile}, tile};
            AnchorTo = tile;
            break;
        }
    }
    MenuKey(forward ? QKeyCombination(Qt::Key_F8) : Qt::SHIFT | Qt::Key_F8);
}

// "Show" beside "Used by": the list keeps the land tiles whose TexID is the
// current tile's, every one of them when no name filters it too. The
// model's folder holds no animations, so an item offers nothing.
void Run::UsedBy()
{
    Log(QStringLiteral("Used by"));
    auto *button = Window->findChild<QPushButton *>(QStringLiteral("UsedByButton"));
    if (!button->isVisible() || !button->isEnabled())
        return Log(Line + QStringLiteral(" (not offered)"));
    const bool whole = Land && Model.IsWhole(true, Current);
    const unsigned texId = whole ? Model.Get(true, Current, Texture) : 0;
    QTest::mouseClick(button, Qt::LeftButton);
    if (!whole)
        return;
    int sharing = 0;
    for (int tile = 0; tile < Model.Count(true); ++tile)
        sharing += Model.IsWhole(true, tile) && Model.Get(true, tile, Texture) == texId ? 1 : 0;
    const int rows = ListCount(*Window);
    for (int row = 0; row < rows; ++row) {
        const int tile = TileAt(row);
        if (!Model.IsWhole(true, tile) || Model.Get(true, tile, Texture) != texId)
            return Note(QStringLiteral("%1: land %2 is listed without TexID %3").arg(Line, Hex(tile)).arg(texId));
    }
    if (Window->findChild<QLineEdit *>(QStringLiteral("FilterBox"))->text().isEmpty() && rows != sharing)
        Note(QStringLiteral("%1: %2 tiles listed, %3 have TexID %4").arg(Line).arg(rows).arg(sharing).arg(texId));
}

// The "Problems" switch. The model's folder holds no file beside the tile
// data, so the one rule that runs is the one of the flag bits without a
// name, 40 to 63 of the newer layout: switched on, the list keeps exactly
// the tiles with one of them set, as the edits so far left them.
void Run::Problems()
{
    auto *button = Window->findChild<QToolButton *>(QStringLiteral("ProblemsOnly"));
    Log(button->isChecked() ? QStringLiteral("Problems off") : QStringLiteral("Problems on"));
    button->click();
    if (!button->isChecked())
        return;
    const auto unnamed = [&](int Tile) {
        for (int byte = 5; byte < Model.Shape.FlagBytes(); ++byte) {
            const std::size_t at = Model.At(Land, Tile) + std::size_t(byte);
            if (at < Model.Work.size() && Model.Work[at] != 0)
                return true;
        }
        return false;
    };
    const int rows = ListCount(*Window);
    for (int row = 0; row < rows; ++row) {
        if (!unnamed(TileAt(row)))
            return Note(QStringLiteral("%1: %2 is listed without an unnamed flag bit").arg(Line, Hex(TileAt(row))));
    }
    const auto others = Window->findChild<QWidget *>(QStringLiteral("FilterBar"))->findChildren<QToolButton *>();
    const bool alone = std::none_of(others.begin(), others.end(), [&](QToolButton *Other) {
        return Other != button && Other->isCheckable() && Other->isChecked();
    });
    if (!alone || !Window->findChild<QLineEdit *>(QStringLiteral("FilterBox"))->text().isEmpty())
        return;
    int kept = 0;
    for (int tile = 0; tile < Model.Count(Land); ++tile)
        kept += unnamed(tile) ? 1 : 0;
    if (rows != kept)
        Note(QStringLiteral("%1: %2 tiles listed, %3 have an unnamed flag bit").arg(Line).arg(rows).arg(kept));
}

// The whole record, or its flags, numbers or name, of every selected tile
// both files wholly hold. Flags a classic file cannot hold refuse the take.
void Run::Take(const Action &A)
{
    static const char *const parts[] = {"Take from Other", "Flags Only", "Numbers Only", "Name Only"};
    const unsigned part = A.B % 4;
    Log(QLatin1String(parts[part]));
    if (part == 0)
        MenuKey(Qt::CTRL | Qt::SHIFT | Qt::Key_T);
    else
        Window->findChild<QMenu *>(QStringLiteral("TakePartMenu"))->actions()[int(part) - 1]->trigger();
    if (!OtherFile || EditableSelected().empty())
        return;
    std::vector<int> tiles;
    for (const int tile : EditableSelected()) {
        if (OtherFile->IsWhole(Land, tile))
            tiles.push_back(tile);
    }
    const int ours = Model.Shape.FlagBytes();
    const int theirs = OtherFile->Shape.FlagBytes();
    const bool flags = part < 2;
    for (const int tile : tiles) {
        const auto high = OtherFile->Work.begin() + long(OtherFile->At(Land, tile)) + ours;
        if (flags && theirs > ours && std::any_of(high, high + (theirs - ours), [](unsigned char b) { return b != 0; })) {
            ExpectBoxes = 1;
            return;
        }
    }
    const int rest = Land ? 22 : 33;
    Model.Edit(Land, tiles, [&] {
        for (const int tile : tiles) {
            const auto from = OtherFile->Work.begin() + long(OtherFile->At(Land, tile));
            const auto to = Model.Work.begin() + long(Model.At(Land, tile));
            if (flags)
                std::copy_n(from, std::min(ours, theirs), to);
            if (part == 0 || part == 2)
                std::copy_n(from + theirs, rest - NameBytes, to + ours);
            if (part == 0 || part == 3)
                std::copy_n(from + theirs + rest - NameBytes, NameBytes, to + ours + rest - NameBytes);
        }
    });
}

void Run::StopComparing()
{
    Log(QStringLiteral("Stop Comparing"));
    Window->findChild<QAction *>(QStringLiteral("StopComparingAction"))->trigger();
    OtherFile.reset();
}

// -- running and shortening ----------------------------------------------------------------

Outcome Play(std::uint32_t Seed, const std::vector<Action> &Actions)
{
    Run run(Seed);
    return run.Play(Actions);
}

std::vector<Action> Actions(std::uint32_t Seed, int Count)
{
    std::mt19937 random(Seed * 2654435761u);
    std::vector<Action> actions;
    for (int k = 0; k < Count; ++k)
        actions.push_back(RandomAction(random));
    return actions;
}

// Drops actions, in runs of halving length, as long as the rest still fails.
Outcome Shorten(std::uint32_t Seed, std::vector<Action> &Actions, Outcome Failed)
{
    Actions.resize(std::min(Actions.size(), std::size_t(Failed.At + 1)));
    int replays = 0;
    for (std::size_t chunk = std::max<std::size_t>(Actions.size() / 2, 1); replays < 200; chunk /= 2) {
        for (std::size_t from = 0; from < Actions.size() && replays < 200; ++replays) {
            std::vector<Action> fewer = Actions;
            fewer.erase(fewer.begin() + long(from), fewer.begin() + long(std::min(from + chunk, fewer.size())));
            const Outcome outcome = Play(Seed, fewer);
            if (!outcome.Failed) {
                from += chunk;
                continue;
            }
            fewer.resize(std::min(fewer.size(), std::size_t(outcome.At + 1)));
            Actions = fewer;
            Failed = outcome;
        }
        if (chunk == 1)
            break;
    }
    return Failed;
}

QString Report(std::uint32_t Seed, std::size_t Count, const Outcome &Failed)
{
    static const char *const kinds[] = {"classic", "newer", "short (500,000 bytes)", "newer, cut to 496,000 bytes",
                                        "newer, a byte too long"};
    QString text = QStringLiteral("seed %1, a %2 file: %3\nshortened to %4 of %5 actions:\n")
                       .arg(Seed)
                       .arg(QLatin1String(kinds[int(KindOfSeed(Seed))]), Failed.Why)
                       .arg(Failed.Log.size())
                       .arg(Count);
    for (int k = 0; k < Failed.Log.size(); ++k)
        text += QStringLiteral("  %1. %2\n").arg(k + 1).arg(Failed.Log[k]);
    return text;
}

constexpr int ActionsPerRun = 40;
constexpr std::uint32_t FixedSeeds = 200;

QtMessageHandler QtHandler = nullptr;

void Quiet(QtMsgType Type, const QMessageLogContext &Context, const QString &Text)
{
    if (!Text.startsWith(QLatin1String("This plugin does not support")))
        QtHandler(Type, Context, Text);
}

} // namespace

class WindowModelTest : public QObject
{
    Q_OBJECT

private:
    // Plays the seed's actions; a failure is shortened and reported.
    static QString Failure(std::uint32_t Seed, int &Checks)
    {
        std::vector<Action> actions = Actions(Seed, ActionsPerRun);
        const Outcome outcome = Play(Seed, actions);
        Checks += outcome.Checks;
        if (!outcome.Failed)
            return QString();
        const Outcome shortest = Shorten(Seed, actions, outcome);
        return Report(Seed, ActionsPerRun, shortest);
    }

private slots:
    // The offscreen platform's word on every window it cannot raise would
    // use up the warnings a test may print.
    // The runs, and a longer run more so, may need longer than the five
    // minutes Qt Test gives one test function on a loaded machine.
    void initTestCase()
    {
        QtHandler = qInstallMessageHandler(Quiet);
        const int seconds = qEnvironmentVariableIntValue("QV_WINDOW_MODEL_SECONDS");
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((qint64(std::max(seconds, 0)) + 900) * 1000));
    }

    void theFileHoldsWhatTheUserAskedFor()
    {
        const int seconds = qEnvironmentVariableIntValue("QV_WINDOW_MODEL_SECONDS");
        QElapsedTimer clock;
        clock.start();
        int runs = 0;
        int checks = 0;
        // One seed again, as a failure names it.
        if (const QByteArray one = qgetenv("QV_WINDOW_MODEL_SEED"); !one.isEmpty()) {
            const QString failure = Failure(std::uint32_t(one.toULong()), checks);
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            return;
        }
        std::random_device entropy;
        for (std::uint32_t seed = 1; seconds > 0 ? clock.elapsed() < seconds * 1000LL : seed <= FixedSeeds; ++seed) {
            const std::uint32_t played = seconds > 0 ? entropy() : seed;
            ++runs;
            const QString failure = Failure(played, checks);
            if (!failure.isEmpty())
                QFAIL(qPrintable(failure));
        }
        qInfo("%d runs of %d actions, %d files compared, in %lld s", runs, ActionsPerRun, checks,
              clock.elapsed() / 1000);
    }
};

QTEST_MAIN(WindowModelTest)
#include "tst_windowmodel.moc"
