#include "app/check/TileProblems.h"

#include "app/document/TileDocument.h"

#include "platform/qt/AnsiString.h"
#include "tilecheck/CheckFiles.h"
#include "tilecheck/TileCheck.h"
#include "tiledata/TileDataReader.h"
#include "tilelinks/LinkFiles.h"

#include <QStringList>

namespace {

std::size_t Slot(TTileKind Kind)
{
    return Kind == TTileKind::Land ? 1 : 0;
}

// "error animation-without-entry", then More, then the message.
QString Described(const TFinding &Finding, const QString &More = QString())
{
    return QStringLiteral("%1 %2%3: %4")
        .arg(QLatin1String(CheckRules::SeverityName(CheckRules::Severity(Finding.Rule))),
             QLatin1String(CheckRules::Name(Finding.Rule)), More, QString::fromStdString(Finding.Message));
}

QString Joined(const std::vector<std::string> &Names)
{
    QStringList list;
    for (const std::string &name : Names)
        list << QString::fromStdString(name);
    return list.join(QStringLiteral(", "));
}

} // namespace

TTileProblems::TTileProblems(TTileDocument &Document, QObject *Parent)
    : QObject(Parent)
    , FDocument(Document)
{
    connect(&Document, &TTileDocument::Loaded, this, &TTileProblems::FollowLoad);
    connect(&Document, &TTileDocument::TilesChanged, this, &TTileProblems::FollowTiles);
}

TTileProblems::~TTileProblems() = default;

void TTileProblems::Forget()
{
    FCheck.reset();
    FFiles.reset();
    FCheckedStore = nullptr;
    FHas = {};
}

TTileCheck *TTileProblems::Check()
{
    const TTileData *store = FDocument.Store();
    if (store != FCheckedStore)
        Forget();
    if (!store || FCheck)
        return FCheck.get();
    const std::string path = AnsiString::ToPath(store->GetFileName());
    FFiles = std::make_unique<TCheckFiles>(TLinkFiles::FolderOf(path));
    FCheck = std::make_unique<TTileCheck>(*store, FFiles->Sources());
    FCheckedStore = store;
    return FCheck.get();
}

std::vector<TFinding> TTileProblems::Of(TTileKind Kind, int Tile)
{
    std::vector<TFinding> findings;
    if (TTileCheck *check = Check())
        check->Tile(Kind, Tile, findings);
    return findings;
}

bool TTileProblems::Has(TTileKind Kind, int Tile)
{
    TTileCheck *check = Check();
    if (!check || Tile < 0 || Tile >= FCheckedStore->Count(Kind))
        return false;
    std::vector<unsigned char> &has = FHas[Slot(Kind)];
    if (has.empty()) {
        has.resize(std::size_t(FCheckedStore->Count(Kind)));
        for (int tile = 0; tile < int(has.size()); ++tile)
            Recheck(Kind, tile);
    }
    return has[std::size_t(Tile)] != 0;
}

void TTileProblems::Recheck(TTileKind Kind, int Tile)
{
    FScratch.clear();
    FCheck->Tile(Kind, Tile, FScratch);
    FHas[Slot(Kind)][std::size_t(Tile)] = FScratch.empty() ? 0 : 1;
}

QString TTileProblems::Unchecked()
{
    if (!Check())
        return QString();
    QStringList parts;
    if (!FFiles->Missing().empty())
        parts << QStringLiteral("not found beside the file: ") + Joined(FFiles->Missing());
    if (!FFiles->Problems().empty())
        parts << Joined(FFiles->Problems());
    return parts.join(QStringLiteral("; "));
}

// Another file, or the same read again, or none: the files beside may
// differ too.
void TTileProblems::FollowLoad()
{
    Forget();
    emit Changed(TTileKind::Item, {});
    emit Changed(TTileKind::Land, {});
}

// Only the changed tiles are checked again, and only when the findings of
// every tile were asked for; otherwise the next question reads the record.
void TTileProblems::FollowTiles(TTileKind Kind, const std::vector<int> &Tiles)
{
    // Check() forgets the table of a store that is gone.
    if (!FHas[Slot(Kind)].empty() && Check()) {
        std::vector<unsigned char> &has = FHas[Slot(Kind)];
        if (Tiles.empty())
            has.clear();
        for (const int tile : Tiles) {
            if (tile >= 0 && std::size_t(tile) < has.size())
                Recheck(Kind, tile);
        }
    }
    emit Changed(Kind, Tiles);
}

QString TTileProblems::Line(const std::vector<TFinding> &Findings)
{
    if (Findings.empty())
        return QString();
    // The count of the others before the message, which a narrow line cuts.
    const std::size_t others = Findings.size() - 1;
    return Described(Findings.front(), others == 0 ? QString() : QStringLiteral(" (+%1 more)").arg(others));
}

QString TTileProblems::Text(const std::vector<TFinding> &Findings)
{
    QStringList lines;
    for (const TFinding &finding : Findings)
        lines << Described(finding);
    return lines.join(QLatin1Char('\n'));
}
