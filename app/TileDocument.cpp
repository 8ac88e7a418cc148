#include "app/TileDocument.h"

#include "app/EditSteps.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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
        TTileData copy(temp.File.fileName());
        copy.LoadTiles();
        for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
            for (int tile = 0; tile < Store.Count(kind); ++tile)
                copy.SetRecordBytes(kind, tile, Store.GetRecordBytes(kind, tile));
        }
        copy.Save();
    }
    temp.RenameTo(Target);
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

std::vector<int> TTileDocument::SelectedTiles() const
{
    if (CurrentTile() < 0)
        return {};
    return {CurrentTile()};
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

void TTileDocument::Select(int Tile)
{
    FHasPendingName = false;
    const bool known = FStore && Tile >= 0 && Tile < FStore->Count(FSection);
    FCurrent[Slot(FSection)] = known ? Tile : -1;
    emit SelectionChanged();
}

bool TTileDocument::IsCurrentEditable() const
{
    return FStore && CurrentTile() >= 0 && FStore->IsWhole(FSection, CurrentTile());
}

void TTileDocument::CommitPendingEdits()
{
    if (FPendingEdits)
        FPendingEdits();
}

void TTileDocument::SetFlag(int Bit, bool Set)
{
    if (!IsCurrentEditable())
        return;
    const TTileKind kind = FSection;
    const int tile = CurrentTile();
    const std::uint64_t mask = std::uint64_t(1) << Bit;
    const std::uint64_t flags = FStore->GetFlags(kind, tile);
    Edit(std::make_unique<TFlagStep>(kind, tile, Bit, Set),
         [&](TTileData &Store) { Store.SetFlags(kind, tile, Set ? flags | mask : flags & ~mask); });
}

// A field of the other section has no place in this section's tiles.
void TTileDocument::SetNumber(TTileField Field, int Value)
{
    if (!IsCurrentEditable() || FieldKind(Field) != FSection)
        return;
    const int tile = CurrentTile();
    const NumberSetter setter = Setters[static_cast<int>(Field)];
    Edit(std::make_unique<TNumberStep>(FSection, tile, Field), [&](TTileData &Store) { (Store.*setter)(tile, Value); });
}

void TTileDocument::Rename(const QString &Name)
{
    if (!IsCurrentEditable())
        return;
    const TTileKind kind = FSection;
    const int tile = CurrentTile();
    Edit(std::make_unique<TRenameStep>(kind, tile), [&](TTileData &Store) { Store.SetName(kind, tile, Name); });
}

void TTileDocument::ReplaceName(const QString &OldName, const QString &NewName)
{
    if (!FStore)
        return;
    const TTileKind kind = FSection;
    Edit(std::make_unique<TReplaceStep>(kind, OldName),
         [&](TTileData &Store) { Store.ReplaceName(kind, OldName, NewName); });
}

// Every edit is announced, even one that changed no byte: the controls then
// show the value the tile really has.
void TTileDocument::Edit(std::unique_ptr<TRecordStep> Step, const std::function<void(TTileData &)> &Change)
{
    const std::vector<int> asked = Step->Tiles();
    Step->Before(*FStore);
    Change(*FStore);
    if (!Step->After(*FStore)) {
        if (!asked.empty())
            Announce(Step->Kind(), asked);
        return;
    }
    const TTileKind kind = Step->Kind();
    const std::vector<int> tiles = Step->Tiles();
    Step->Bind([this](TTileKind Kind, std::vector<TRecordBytes> &Records) { SwapRecords(Kind, Records); });
    FUndo.push(Step.release());
    Announce(kind, tiles);
}

void TTileDocument::SwapRecords(TTileKind Kind, std::vector<TRecordBytes> &Records)
{
    if (!FStore)
        return;
    std::vector<int> tiles;
    for (TRecordBytes &record : Records) {
        QByteArray now = FStore->GetRecordBytes(Kind, record.Tile);
        FStore->SetRecordBytes(Kind, record.Tile, record.Bytes);
        record.Bytes = now;
        tiles.push_back(record.Tile);
    }
    SetSection(Kind);
    Announce(Kind, tiles);
    if (!tiles.empty())
        Select(tiles.front());
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
    auto store = std::make_unique<TTileData>(QDir::toNativeSeparators(Path));
    store->LoadTiles();
    FStore = std::move(store);
    FHasPendingName = false;
    if (How != TLoadKind::Adopt)
        FUndo.clear();
    for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
        int &current = FCurrent[Slot(kind)];
        if (How == TLoadKind::Open || current >= FStore->Count(kind))
            current = -1;
    }
    emit Loaded(How);
    TellModified();
}

void TTileDocument::Close()
{
    FUndo.clear();
    FStore.reset();
    FCurrent = {-1, -1};
    emit Loaded(TLoadKind::Open);
    TellModified();
}

bool TTileDocument::Save(const std::function<bool(const TSaveConflicts &)> &Confirm)
{
    if (!FStore)
        return false;
    CommitPendingEdits();
    if (!FStore->Save(Confirm))
        return false;
    emit Saved();
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
