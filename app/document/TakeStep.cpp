#include "app/document/TakeStep.h"

#include "app/document/CountWords.h"

#include <QStringList>

namespace {

QString PartWords(TRecordPart Part)
{
    switch (Part) {
    case TRecordPart::Flags:
        return QStringLiteral("Take flags from other");
    case TRecordPart::Numbers:
        return QStringLiteral("Take numbers from other");
    case TRecordPart::Name:
        return QStringLiteral("Take name from other");
    default:
        return QStringLiteral("Take from other");
    }
}

QString Tiles(int Count)
{
    return Counted(Count, QStringLiteral("tile"), QStringLiteral("tiles"));
}

} // namespace

TTakeStep::TTakeStep(TTileKind Kind, const std::vector<int> &Tiles, TRecordPart Part)
    : TRecordStep(Kind, Tiles,
                  PartWords(Part) + QLatin1Char(' ') + TilesLabel(Kind, Tiles, QStringLiteral("on ")))
{
}

// Enough to find them in the list; a long selection would fill the status bar.
QString FewTiles(TTileKind Kind, const std::vector<int> &Tiles)
{
    constexpr std::size_t Shown = 5;
    QStringList labels;
    for (std::size_t k = 0; k < Tiles.size() && k < Shown; ++k)
        labels << TileLabel(Kind, Tiles[k]);
    QString text = labels.join(QStringLiteral(", "));
    if (Tiles.size() > Shown)
        text += QStringLiteral(" and %1 more").arg(Tiles.size() - Shown);
    return text;
}

QString TakenText(TTileKind Kind, int Taken, const std::vector<int> &LeftAlone, const QString &OtherName)
{
    QString text = QStringLiteral("Took %1 from %2").arg(Tiles(Taken), OtherName);
    if (!LeftAlone.empty())
        text += QStringLiteral("; %1 beyond the end of this file or %2 %3 left alone: %4")
                    .arg(Tiles(int(LeftAlone.size())), OtherName,
                         LeftAlone.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                         FewTiles(Kind, LeftAlone));
    return text;
}

QString RefusedText(TTileKind Kind, const std::vector<int> &Tiles, const QString &OtherName)
{
    return QStringLiteral("%1 %2 flags 32 to 63 set in %3, which this classic file cannot hold; nothing was taken")
        .arg(FewTiles(Kind, Tiles), Tiles.size() == 1 ? QStringLiteral("has") : QStringLiteral("have"), OtherName);
}
