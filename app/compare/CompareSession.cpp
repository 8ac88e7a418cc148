#include "app/compare/CompareSession.h"

#include "app/document/CountWords.h"
#include "app/document/PathWatch.h"
#include "app/document/TileDocument.h"

#include "tiledata/TileComparison.h"
#include "tiledata/TileDataReader.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <utility>

TCompareSession::TCompareSession(TTileDocument &Document, QObject *Parent)
    : QObject(Parent)
    , FDocument(Document)
    , FWatch(new TPathWatch(this))
{
    connect(&FDocument, &TTileDocument::TilesChanged, this, &TCompareSession::FollowTiles);
    connect(&FDocument, &TTileDocument::Loaded, this, &TCompareSession::CompareAll);
    connect(&FDocument, &TTileDocument::Saved, this, &TCompareSession::FollowSave);
    connect(FWatch, &TPathWatch::Changed, this, &TCompareSession::OtherChangedOnDisk);
}

TCompareSession::~TCompareSession() = default;

void TCompareSession::Start(const QString &Path)
{
    Read(QDir::toNativeSeparators(Path));
}

void TCompareSession::ReadAgain()
{
    // A copy: the path is the store's, which the read replaces.
    if (FOther)
        Read(QString(FOther->GetFileName()));
}

// The file is read whole before anything changes, so that one that cannot
// be read leaves the comparison as it was.
void TCompareSession::Read(const QString &Path)
{
    auto other = std::make_unique<TTileData>(Path);
    other->LoadTiles();
    FOther = std::move(other);
    FWatch->Watch(Path);
    CompareAll();
    emit ActiveChanged();
}

void TCompareSession::Stop()
{
    if (!FOther)
        return;
    FOther.reset();
    FComparison.reset();
    FWatch->Watch(QString());
    emit ActiveChanged();
    emit MarksChanged();
}

void TCompareSession::CompareAll()
{
    const TTileData *ours = FDocument.Store();
    if (ours && FOther)
        FComparison = std::make_unique<TTileComparison>(*ours, *FOther);
    else
        FComparison.reset();
    emit MarksChanged();
}

// An announcement without tiles may have changed any tile of the section.
void TCompareSession::FollowTiles(TTileKind Kind, const std::vector<int> &Tiles)
{
    const TTileData *ours = FDocument.Store();
    if (!FComparison || !ours)
        return;
    bool changed = false;
    if (Tiles.empty()) {
        FComparison->Recompare(*ours, *FOther, Kind);
        changed = true;
    }
    for (const int tile : Tiles)
        changed = FComparison->Recompare(*ours, *FOther, Kind, tile) || changed;
    if (changed)
        emit MarksChanged();
}

// The window's own save of the file it compares with is no other
// program's change: the file is read again, and the marks tell what it
// holds now.
void TCompareSession::FollowSave()
{
    if (FOther && QFileInfo(FOther->GetFileName()) == QFileInfo(FDocument.FileName()))
        ReadAgain();
}

// Two files named alike, as every copy of the game's file is, are told
// apart by their folders: by name where the names differ, else in full.
QString TCompareSession::OtherName() const
{
    if (!FOther)
        return QString();
    const QFileInfo other(FOther->GetFileName());
    const QFileInfo ours(FDocument.FileName());
    if (other.fileName() != ours.fileName())
        return other.fileName();
    const QDir folder = other.absoluteDir();
    const QString where = folder.dirName() != ours.absoluteDir().dirName() && !folder.dirName().isEmpty()
                              ? folder.dirName()
                              : QDir::toNativeSeparators(folder.absolutePath());
    return other.fileName() + QStringLiteral(" in ") + where;
}

bool TCompareSession::Differs(TTileKind Kind, int Tile) const
{
    return FComparison && FComparison->Differs(Kind, Tile);
}

bool TCompareSession::Compares(TTileKind Kind, int Tile) const
{
    return FComparison && Tile >= 0 && Tile < FComparison->Compared(Kind);
}

QString TCompareSession::CountText() const
{
    if (!FComparison)
        return QString();
    return Counted(FComparison->DifferCount(TTileKind::Item), QStringLiteral("item tile"), QStringLiteral("item tiles"))
           + QStringLiteral(" and ")
           + Counted(FComparison->DifferCount(TTileKind::Land), QStringLiteral("land tile"), QStringLiteral("land tiles"))
           + QStringLiteral(" differ");
}

QString TCompareSession::BeyondText() const
{
    const TTileData *ours = FDocument.Store();
    if (!FComparison || !ours)
        return QString();
    QStringList counts;
    for (const auto &[kind, noun] : {std::pair(TTileKind::Item, "item"), std::pair(TTileKind::Land, "land")}) {
        const int beyond = ours->Count(kind) - FComparison->Compared(kind);
        if (beyond > 0)
            counts << Counted(beyond, QLatin1String(noun) + QStringLiteral(" tile"),
                              QLatin1String(noun) + QStringLiteral(" tiles"));
    }
    if (counts.isEmpty())
        return QString();
    return QStringLiteral("not compared, beyond the end of this file or %1: %2")
        .arg(OtherName(), counts.join(QStringLiteral(" and ")));
}

QString TCompareSession::LayoutNote() const
{
    const TTileData *ours = FDocument.Store();
    if (!ours || !FOther || ours->Layout().IsNewer() == FOther->Layout().IsNewer())
        return QString();
    if (ours->Layout().IsNewer())
        return QStringLiteral("compared with a classic file: bits 32-63 count as clear there");
    return QStringLiteral("compared with a newer file: bits 32-63 count as clear in this classic file");
}
