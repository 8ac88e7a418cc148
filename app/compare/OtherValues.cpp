#include "app/compare/OtherValues.h"

#include "app/compare/CompareSession.h"
#include "app/document/EditSteps.h"
#include "app/document/TileDocument.h"

#include "tiledata/TileComparison.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <algorithm>

namespace {

QString Quoted(const QString &Name)
{
    return QLatin1Char('"') + Name + QLatin1Char('"');
}

} // namespace

TOtherValues::TOtherValues(const TTileDocument &Document, const TCompareSession &Session, QWidget *Window,
                           Boxes Parts)
    : QObject(Window)
    , FDocument(Document)
    , FSession(Session)
    , FBoxes(std::move(Parts))
{
    Panel = new QLabel(Window);
    Panel->setObjectName(QStringLiteral("OtherValues"));
    Panel->setTextFormat(Qt::PlainText);
    Panel->setWordWrap(true);
    Panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QRect above = FBoxes.Above->geometry();
    Panel->setGeometry(above.left(), above.bottom() + 5, above.width() + 8, 58);
    Panel->hide();
}

void TOtherValues::Mark(QWidget *Box, bool Differs, const QString &Tip)
{
    const auto marked = std::find(FMarked.begin(), FMarked.end(), Box);
    if (Differs)
        Box->setToolTip(Tip);
    if (Differs == (marked != FMarked.end()))
        return;
    QFont font = Box->font();
    font.setBold(Differs);
    Box->setFont(font);
    if (Differs) {
        FMarked.push_back(Box);
    } else {
        Box->setToolTip(QString());
        FMarked.erase(marked);
    }
}

void TOtherValues::Clear()
{
    for (QWidget *box : std::vector<QWidget *>(FMarked))
        Mark(box, false, QString());
}

void TOtherValues::Show()
{
    const TTileData *ours = FDocument.Store();
    const TTileData *other = FSession.Other();
    const TTileKind kind = FDocument.Section();
    const int tile = FDocument.CurrentTile();
    Panel->setVisible(ours && other);
    if (!ours || !other || tile < 0) {
        Clear();
        Panel->clear();
        return;
    }
    const QString name = FSession.OtherName();
    if (!FSession.Compares(kind, tile)) {
        Clear();
        Panel->setText(other->IsWhole(kind, tile)
                           ? QStringLiteral("%1 lies beyond the end of this file").arg(TileLabel(kind, tile))
                           : QStringLiteral("%1 has no tile %2").arg(name, TileLabel(kind, tile)));
        return;
    }
    const QString otherName = other->GetName(kind, tile);
    const bool nameDiffers = otherName != ours->GetName(kind, tile);
    Mark(FBoxes.Name, nameDiffers, name + QStringLiteral(": ") + Quoted(otherName));
    QStringList differences;
    for (const QString &part : {MarkNumbers(*ours, *other, tile), MarkFlags(*ours, *other, tile)}) {
        if (!part.isEmpty())
            differences << part;
    }
    if (differences.isEmpty() && !nameDiffers && TTileComparison::RecordsDiffer(*ours, *other, kind, tile))
        differences << QStringLiteral("name bytes after the end differ");
    const QString head = name + QStringLiteral(": ") + Quoted(otherName);
    if (differences.isEmpty() && !nameDiffers)
        Panel->setText(head + QStringLiteral(", the same as here"));
    else
        Panel->setText(head + QLatin1Char('\n') + differences.join(QStringLiteral("; ")));
}

QString TOtherValues::MarkNumbers(const TTileData &Ours, const TTileData &Other, int Tile)
{
    QStringList values;
    for (const auto &[box, field] : FBoxes.Numbers) {
        const bool shown = FieldKind(field) == FDocument.Section();
        const int theirs = shown ? FieldValue(Other, field, Tile) : 0;
        const bool differs = shown && theirs != FieldValue(Ours, field, Tile);
        Mark(box, differs, FSession.OtherName() + QStringLiteral(": ") + FieldText(field, theirs));
        if (differs)
            values << FieldName(field) + QLatin1Char(' ') + FieldText(field, theirs);
    }
    return values.join(QStringLiteral(", "));
}

// Flags the other file has set are listed with a +, those it has clear
// with a minus sign.
QString TOtherValues::MarkFlags(const TTileData &Ours, const TTileData &Other, int Tile)
{
    const TTileKind kind = FDocument.Section();
    const std::uint64_t theirs = Other.GetFlags(kind, Tile);
    const std::uint64_t differing = theirs ^ Ours.GetFlags(kind, Tile);
    QStringList flags;
    for (int bit = 0; bit < int(FBoxes.Flags.size()); ++bit) {
        const bool differs = (differing >> bit) & 1u;
        const bool set = (theirs >> bit) & 1u;
        Mark(FBoxes.Flags[std::size_t(bit)], differs,
             FSession.OtherName() + (set ? QStringLiteral(": set") : QStringLiteral(": clear")));
        if (differs)
            flags << (set ? QStringLiteral("+") : QStringLiteral("\u2212")) + QString::fromStdString(FlagName(bit));
    }
    return flags.isEmpty() ? QString() : QStringLiteral("flags ") + flags.join(QLatin1Char(' '));
}
