#include "app/CompareSession.h"

#include "app/PathWatch.h"
#include "app/TileDocument.h"

#include "tiledata/TileComparison.h"
#include "tiledata/TileDataReader.h"

#include <QDir>
#include <QFileInfo>

TCompareSession::TCompareSession(TTileDocument &Document, QObject *Parent)
    : QObject(Parent)
    , FDocument(Document)
    , FWatch(new TPathWatch(this))
{
    connect(&FDocument, &TTileDocument::TilesChanged, this, &TCompareSession::FollowTiles);
    connect(&FDocument, &TTileDocument::Loaded, this, &TCompareSession::CompareAll);
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

QString TCompareSession::OtherName() const
{
    return FOther ? QFileInfo(FOther->GetFileName()).fileName() : QString();
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
    const auto count = [this](TTileKind Kind, const char *Noun) {
        const int n = FComparison->DifferCount(Kind);
        return QStringLiteral("%1 %2 %3").arg(n).arg(QLatin1String(Noun), n == 1 ? QStringLiteral("tile")
                                                                                 : QStringLiteral("tiles"));
    };
    return count(TTileKind::Item, "item") + QStringLiteral(" and ") + count(TTileKind::Land, "land")
           + QStringLiteral(" differ");
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
