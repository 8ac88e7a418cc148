#include "app/document/TileDocument.h"

#include "app/document/CountWords.h"
#include "app/document/EditSteps.h"
#include "app/document/TakeStep.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/LayoutGuess.h"
#include "tiledata/RecordChanges.h"
#include "tiledata/RecordTake.h"
#include "tiledata/JournalRecovery.h"
#include "tiledata/TileDataReader.h"
#include "tiletext/EditsReader.h"
#include "tiletext/TileEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>

namespace {

void WriteAll(QFile &File, const std::vector<unsigned char> &Bytes)
{
    const auto size = qint64(Bytes.size());
    if (File.write(reinterpret_cast<const char *>(Bytes.data()), size) != size || !File.flush())
        throw Error("Stream write error");
}

// A file of our own beside Target, under a name nobody else uses, removed
// again unless it is renamed into place.
class TNewFile
{
public:
    explicit TNewFile(const QFileInfo &Target)
    {
        for (int attempt = 0; attempt < 100 && !File.isOpen(); ++attempt) {
            File.setFileName(Target.absolutePath() + QLatin1Char('/') + Target.fileName() + QLatin1Char('.')
                             + QString::number(QRandomGenerator::global()->generate(), 36));
            File.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        }
        if (!File.isOpen())
            throw CannotOpenFileError(AnsiString::ToPath(QDir::toNativeSeparators(File.fileName())),
                                      File.errorString().toStdString());
    }
    ~TNewFile()
    {
        if (!FRenamed) {
            File.close();
            File.remove();
        }
    }
    TNewFile(const TNewFile &) = delete;
    TNewFile &operator=(const TNewFile &) = delete;

    void RenameTo(const QString &Target)
    {
        try {
            FileSystem::RenameFile(AnsiString::ToPath(File.fileName()), AnsiString::ToPath(Target));
        } catch (const Error &failed) {
            throw CannotOpenFileError(AnsiString::ToPath(QDir::toNativeSeparators(Target)), failed.what());
        }
        FRenamed = true;
    }

    QFile File;

private:
    bool FRenamed = false;
};

// Writes Store's records into a copy of its file named Target: a new file
// under a temporary name beside Target, written and flushed as a save
// writes, then renamed over Target.
void WriteCopy(const TTileData &Store, const QString &Target)
{
    const QFileInfo target(Target);
    const QFileInfo source(Store.GetFileName());
    const std::vector<unsigned char> bytes = ReadWholeFile(AnsiString::ToPath(Store.GetFileName()));
    TNewFile temp(target);
    temp.File.setPermissions(target.exists() ? target.permissions() : source.permissions());
    WriteAll(temp.File, bytes);
    temp.File.close();
    {
        // In the store's layout: a file of a length that fits neither layout
        // is read in the one the user chose, and so must its copy be, or no
        // record would go into it.
        TTileData copy(temp.File.fileName(), bytes, Store.Layout());
        copy.LoadTiles();
        for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
            for (int tile = 0; tile < Store.Count(kind); ++tile)
                copy.SetRecordBytes(kind, tile, Store.GetRecordBytes(kind, tile));
        }
        copy.Save();
    }
    temp.RenameTo(Target);
}

// '"Ωb": Ω (U+03A9) is not a Windows-1252 character', naming each character
// a name cannot hold once.
QString UnstorableText(const QString &Name)
{
    QStringList found;
    for (const char32_t cp : Name.toUcs4()) {
        const QString one = QString::fromUcs4(&cp, 1);
        const QString text = QStringLiteral("%1 (U+%2)").arg(one, QString::number(cp, 16).toUpper().rightJustified(4, u'0'));
        if (!AnsiString::CanEncode(one) && !found.contains(text))
            found << text;
    }
    if (found.isEmpty())
        return QString();
    const QString last = found.takeLast();
    const QString all = found.isEmpty() ? last : found.join(QLatin1String(", ")) + QLatin1String(" and ") + last;
    return QStringLiteral("\"%1\": %2 %3").arg(Name, all,
        found.isEmpty() ? QStringLiteral("is not a Windows-1252 character") : QStringLiteral("are not Windows-1252 characters"));
}

using NumberSetter = void (TTileData::*)(int, int);

// In the order of TTileField.
const NumberSetter Setters[] = {
    &TTileData::SetWeight,   &TTileData::SetQuality,  &TTileData::SetHeight,   &TTileData::SetQuantity,
    &TTileData::SetHue,      &TTileData::SetAnim,     &TTileData::SetUnknown0, &TTileData::SetUnknown1,
    &TTileData::SetUnknown2, &TTileData::SetUnknown3, &TTileData::SetUnknown4, &TTileData::SetTexture,
};

} // namespace

TTileDocument::TTileDocument(QObject *Parent)
    : QObject(Parent)
{
}

TTileDocument::~TTileDocument()
{
    // The steps swap records through this document; none may outlive it.
    FUndo.clear();
}

QString TTileDocument::FileName() const
{
    return FStore ? FStore->GetFileName() : QString();
}

bool TTileDocument::IsModified() const
{
    return FStore && FStore->IsModified();
}

void TTileDocument::SwitchSection(TTileKind Kind)
{
    if (Kind == FSection)
        return;
    CommitPendingEdits();
    SetSection(Kind);
}

void TTileDocument::SetSection(TTileKind Kind)
{
    if (Kind == FSection)
        return;
    FSection = Kind;
    FHasPendingName = false;
    emit SectionChanged(Kind);
}


void TTileDocument::SetPendingName(const QString &Name)
{
    FPendingName = Name;
    FHasPendingName = true;
}

// Compared as the bytes a rename would store, so that a character the code
// page lacks, stored as '?', does not stay pending after the rename.
bool TTileDocument::HasPendingName() const
{
    return FHasPendingName && IsCurrentEditable()
           && AnsiString::Encode(FPendingName) != AnsiString::Encode(FStore->GetName(FSection, CurrentTile()));
}

// Go to, Find and the difference keys move away from the tile whose box may
// hold a typed value; it goes into the tiles it was typed for first, as a
// click on the list commits it by taking the focus.
void TTileDocument::Select(int Tile)
{
    CommitPendingEdits();
    SetSelection({Tile}, Tile);
}

void TTileDocument::SetSelection(std::vector<int> Tiles, int Current)
{
    SetSelection(std::move(Tiles), Current, Current);
}

// Tiles the file's layout does not have drop out; a current tile that is not
// among the selected ones becomes the first of them.
void TTileDocument::SetSelection(std::vector<int> Tiles, int Current, int Anchor)
{
    FHasPendingName = false;
    const int count = FStore ? FStore->Count(FSection) : 0;
    Tiles.erase(std::remove_if(Tiles.begin(), Tiles.end(), [count](int Tile) { return Tile < 0 || Tile >= count; }),
                Tiles.end());
    std::sort(Tiles.begin(), Tiles.end());
    Tiles.erase(std::unique(Tiles.begin(), Tiles.end()), Tiles.end());
    if (!std::binary_search(Tiles.begin(), Tiles.end(), Current))
        Current = Tiles.empty() ? -1 : Tiles.front();
    FSelected[Slot(FSection)] = std::move(Tiles);
    FCurrent[Slot(FSection)] = Current;
    FAnchor[Slot(FSection)] = Anchor >= 0 && Anchor < count ? Anchor : Current;
    emit SelectionChanged();
}

bool TTileDocument::KeepSelected(const std::function<bool(int Tile)> &Keep)
{
    std::vector<int> kept = SelectedTiles();
    kept.erase(std::remove_if(kept.begin(), kept.end(), [&](int Tile) { return !Keep(Tile); }), kept.end());
    if (kept.size() == SelectedTiles().size())
        return false;
    SetSelection(std::move(kept), CurrentTile(), AnchorTile());
    return true;
}

std::vector<int> TTileDocument::EditableTiles() const
{
    std::vector<int> tiles;
    if (!FStore || FReadOnly)
        return tiles;
    for (const int tile : SelectedTiles()) {
        if (FStore->IsWhole(FSection, tile))
            tiles.push_back(tile);
    }
    return tiles;
}

bool TTileDocument::HasEditableTiles() const
{
    return FStore && !FReadOnly && std::any_of(SelectedTiles().begin(), SelectedTiles().end(), [this](int Tile) {
               return FStore->IsWhole(FSection, Tile);
           });
}

bool TTileDocument::IsCurrentEditable() const
{
    return FStore && !FReadOnly && CurrentTile() >= 0 && FStore->IsWhole(FSection, CurrentTile());
}

void TTileDocument::CommitPendingEdits()
{
    if (FPendingEdits)
        FPendingEdits();
}

void TTileDocument::SetFlag(int Bit, bool Set)
{
    const std::vector<int> tiles = EditableTiles();
    if (tiles.empty())
        return;
    const TTileKind kind = FSection;
    Edit(std::make_unique<TFlagStep>(kind, tiles, Bit, Set),
         [&](TTileData &Store) { Store.SetFlagBit(kind, tiles, Bit, Set); }, LeftOut(tiles));
}

// A field of the other section has no place in this section's tiles, and a
// value the field cannot hold is refused rather than cut to its low bits:
// the box would show one value while the file got another.
void TTileDocument::SetNumber(TTileField Field, qint64 Value)
{
    const std::vector<int> tiles = EditableTiles();
    if (tiles.empty() || FieldKind(Field) != FSection)
        return;
    if (Value < 0 || Value > FieldMaximum(Field))
        throw Error(OutOfRangeText(Field, FieldText(Field, Value)).toStdString());
    const NumberSetter setter = Setters[static_cast<int>(Field)];
    Edit(std::make_unique<TNumberStep>(FSection, tiles, Field), [&](TTileData &Store) {
        for (const int tile : tiles)
            (Store.*setter)(tile, int(Value));
    }, LeftOut(tiles));
}

void TTileDocument::Rename(const QString &Name)
{
    const std::vector<int> tiles = EditableTiles();
    if (tiles.empty())
        return;
    RefuseUnstorable(Name);
    const TTileKind kind = FSection;
    Edit(std::make_unique<TRenameStep>(kind, tiles), [&](TTileData &Store) {
        for (const int tile : tiles)
            Store.SetName(kind, tile, Name);
    }, LeftOut(tiles));
}

void TTileDocument::ReplaceName(const QString &OldName, const QString &NewName)
{
    if (!FStore || FReadOnly)
        return;
    RefuseUnstorable(NewName);
    const TTileKind kind = FSection;
    Edit(std::make_unique<TReplaceStep>(kind, OldName),
         [&](TTileData &Store) { Store.ReplaceName(kind, OldName, NewName); }, 0);
}

void TTileDocument::Paste(std::string_view Text)
{
    if (!FStore)
        return;
    if (FReadOnly) {
        TellReadOnly(QStringLiteral("nothing was pasted"));
        return;
    }
    CommitPendingEdits();
    std::vector<TileEdit> edits;
    EditsReader reader("clipboard", FStore->Layout(), FSection);
    reader.SetIndexColumn(EditsReader::IndexColumn::Optional);
    reader.Read(Text, [&](const TileEdit &Edit) { edits.push_back(Edit); });
    if (edits.empty()) {
        emit StatusText(QStringLiteral("Nothing to paste: no line follows the header"));
        return;
    }
    const TTileKind kind = FSection;
    const bool forSelection = edits.front().Index == TileEdit::NoIndex;
    std::vector<int> tiles;
    std::vector<const TileEdit *> editOf;
    std::size_t skipped = 0;
    if (forSelection) {
        tiles = EditableTiles();
        skipped = LeftOut(tiles);
        editOf.assign(tiles.size(), &edits.front());
    } else {
        std::sort(edits.begin(), edits.end(), [](const TileEdit &A, const TileEdit &B) { return A.Index < B.Index; });
        for (const TileEdit &edit : edits) {
            const bool whole = FStore->IsWhole(kind, edit.Index);
            skipped += whole ? 0 : 1;
            if (whole) {
                tiles.push_back(edit.Index);
                editOf.push_back(&edit);
            }
        }
        if (!tiles.empty())
            SetSelection(tiles, tiles.front());
    }
    if (tiles.empty())
        return;
    Edit(std::make_unique<TPasteStep>(kind, tiles), [&](TTileData &Store) {
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            const TileRow old = TileRow::Read(Store, kind, tiles[i]);
            editOf[i]->AppliedTo(old).WriteChangesTo(Store, old);
        }
    }, skipped);
}

// A name the file's code page cannot hold would be stored as question marks.
void TTileDocument::RefuseUnstorable(const QString &Name)
{
    const QString text = UnstorableText(Name);
    if (!text.isEmpty())
        throw Error(text.toStdString());
}

// Every edit is announced, even one that changed no byte: the controls then
// show the value the tile really has.
void TTileDocument::Edit(std::unique_ptr<TRecordStep> Step, const std::function<void(TTileData &)> &Change,
                         std::size_t Skipped)
{
    const std::vector<int> asked = Step->Tiles();
    Step->Before(*FStore);
    Change(*FStore);
    const bool changed = Step->After(*FStore);
    // After keeps only the tiles whose records the edit changed.
    TellSkipped(changed ? Step->Tiles().size() : 0, Skipped);
    if (!changed) {
        if (!asked.empty())
            Announce(Step->Kind(), asked);
        return;
    }
    const TTileKind kind = Step->Kind();
    const std::vector<int> tiles = Step->Tiles();
    Step->Bind([this](const TRecordChanges &Changes, bool Undo) { PutBack(Changes, Undo); });
    FUndo.push(Step.release());
    Announce(kind, tiles);
}

std::size_t TTileDocument::LeftOut(const std::vector<int> &Editable) const
{
    return SelectedTiles().size() - Editable.size();
}

// A selection that reaches beyond a short file's end is edited where the
// file holds its tiles; the rest are named as left alone.
void TTileDocument::TellSkipped(std::size_t Changed, std::size_t Skipped)
{
    if (Skipped == 0)
        return;
    emit StatusText(QStringLiteral("%1 changed; %2 beyond the file's end %3 left alone")
                        .arg(Counted(qint64(Changed), QStringLiteral("tile"), QStringLiteral("tiles")),
                             Thousands(qint64(Skipped)),
                             Skipped == 1 ? QStringLiteral("was") : QStringLiteral("were")));
}

void TTileDocument::PutBack(const TRecordChanges &Changes, bool Undo)
{
    if (!FStore)
        return;
    Undo ? Changes.PutBefore(*FStore) : Changes.PutAfter(*FStore);
    SetSection(Changes.Kind());
    Announce(Changes.Kind(), Changes.Tiles());
    // The tiles the step changed are selected again, so that a selection
    // built by hand comes back with its edit; the current tile stays
    // current when it is among them.
    const std::vector<int> &tiles = Changes.Tiles();
    if (tiles.empty())
        return;
    const bool kept = std::find(tiles.begin(), tiles.end(), CurrentTile()) != tiles.end();
    const int current = kept ? CurrentTile() : tiles.front();
    SetSelection(tiles, current, current);
}

void TTileDocument::Announce(TTileKind Kind, const std::vector<int> &Tiles)
{
    emit TilesChanged(Kind, Tiles);
    TellModified();
}

void TTileDocument::TellModified()
{
    const bool modified = IsModified();
    if (modified == FModified)
        return;
    FModified = modified;
    emit ModifiedChanged(modified);
}

// However the path came (dialog, command line, drop), the window and its
// messages show it in the system's own separators.
void TTileDocument::Load(const QString &Path, TLoadKind How)
{
    const QString path = QDir::toNativeSeparators(Path);
    SettleJournal(path);
    std::vector<unsigned char> bytes = ReadWholeFile(AnsiString::ToPath(path));
    const auto size = qint64(bytes.size());
    std::optional<TTileLayout> layout;
    TLayoutAnswer answer = TLayoutAnswer::Classic;
    const TLayoutGuess guess(bytes.data(), bytes.size());
    if (TTileLayout::IsAmbiguousSize(size) || TTileLayout::IsShortSize(size) || guess.ContradictsLength()) {
        answer = FLayoutQuestion ? FLayoutQuestion(path, size, guess) : TLayoutAnswer::ReadOnly;
        if (answer == TLayoutAnswer::Newer)
            layout = TTileLayout::NewerWithin(size);
        else
            layout = answer == TLayoutAnswer::Classic ? TTileLayout::Classic() : guess.ReadOnlyLayout();
    }
    auto store = std::make_unique<TTileData>(path, std::move(bytes), layout);
    store->LoadTiles();
    FStore = std::move(store);
    FReadOnly = answer == TLayoutAnswer::ReadOnly;
    FHasPendingName = false;
    if (How != TLoadKind::Adopt)
        FUndo.clear();
    for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
        int &current = FCurrent[Slot(kind)];
        int &anchor = FAnchor[Slot(kind)];
        std::vector<int> &selected = FSelected[Slot(kind)];
        if (How == TLoadKind::Open || current >= FStore->Count(kind))
            current = -1;
        if (How == TLoadKind::Open || anchor >= FStore->Count(kind))
            anchor = current;
        if (How == TLoadKind::Open)
            selected.clear();
        selected.erase(std::lower_bound(selected.begin(), selected.end(), FStore->Count(kind)), selected.end());
    }
    emit Loaded(How);
    TellModified();
}

void TTileDocument::SettleJournal(const QString &Path)
{
    TJournalRecovery recovery(AnsiString::ToPath(Path));
    std::string told;
    if (recovery.State() == TJournalRecovery::TState::Conflict) {
        const TJournalAnswer answer
            = FJournalQuestion ? FJournalQuestion(Path, QString::fromStdString(recovery.ChangedTiles()),
                                                  QString::fromStdString(recovery.Unfinishable()))
                               : TJournalAnswer::Cancel;
        if (answer == TJournalAnswer::Cancel)
            throw Error(QDir::toNativeSeparators(Path).toStdString()
                        + ": the last save of the file was cut off, and another program has changed it since; the file "
                          "was not opened");
        told = answer == TJournalAnswer::Complete ? recovery.Finish() : recovery.Discard();
    } else {
        told = recovery.Settle();
    }
    if (!told.empty() && FJournalNotice)
        FJournalNotice(QString::fromStdString(told));
}

// Read-only takes no edit, so an action that would write says why it did
// nothing rather than pass for done.
void TTileDocument::TellReadOnly(const QString &Outcome)
{
    emit StatusText(QStringLiteral("%1 is open read-only; %2").arg(QFileInfo(FileName()).fileName(), Outcome));
}

void TTileDocument::Close()
{
    FUndo.clear();
    FStore.reset();
    FReadOnly = false;
    FCurrent = {-1, -1};
    FAnchor = {-1, -1};
    FSelected = {};
    emit Loaded(TLoadKind::Open);
    TellModified();
}

bool TTileDocument::Save(const std::function<bool(const TSaveConflicts &)> &Confirm)
{
    if (!FStore)
        return false;
    if (FReadOnly) {
        TellReadOnly(QStringLiteral("nothing was saved"));
        return false;
    }
    CommitPendingEdits();
    if (!FStore->Save(Confirm))
        return false;
    emit Saved();
    // A save without a journal, or whose close failed after the flush.
    if (!FStore->SaveNote().empty())
        emit StatusText(QString::fromStdString(FStore->SaveNote()).replace('\n', ' '));
    // After an Overwrite the store holds the other program's changes too.
    Announce(TTileKind::Item, {});
    Announce(TTileKind::Land, {});
    return true;
}

void TTileDocument::SaveAs(const QString &Target)
{
    if (!FStore)
        return;
    CommitPendingEdits();
    WriteCopy(*FStore, Target);
    Load(Target, TLoadKind::Adopt);
    emit StatusText(QStringLiteral("Saved as %1").arg(QDir::toNativeSeparators(Target)));
}

void TTileDocument::TakeFromOther(const TTileData &Other, const QString &OtherName, TRecordPart Part)
{
    if (!HasEditableTiles())
        return;
    const TTileKind kind = FSection;
    std::vector<int> taken;
    std::vector<int> leftAlone;
    std::vector<int> refused;
    for (const int tile : SelectedTiles()) {
        if (!FStore->IsWhole(kind, tile) || !Other.IsWhole(kind, tile))
            leftAlone.push_back(tile);
        else if (RecordTake::Refused(*FStore, Other, kind, tile, Part))
            refused.push_back(tile);
        else
            taken.push_back(tile);
    }
    if (!refused.empty())
        throw Error(RefusedText(kind, refused, OtherName).toStdString());
    if (taken.empty()) {
        emit StatusText(TakenText(kind, 0, leftAlone, OtherName));
        return;
    }
    Edit(std::make_unique<TTakeStep>(kind, taken, Part), [&](TTileData &Store) {
        for (const int tile : taken)
            Store.SetRecordBytes(kind, tile, RecordTake::Taken(Store, Other, kind, tile, Part));
    }, 0);
    emit StatusText(TakenText(kind, int(taken.size()), leftAlone, OtherName));
}
