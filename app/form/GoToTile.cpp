#include "app/form/GoToTile.h"

#include "app/document/EditSteps.h"
#include "app/document/ErrorBox.h"

#include <QInputDialog>

TGoToTile::TGoToTile(QWidget *Window, Show ShowTile, Message Say)
    : QObject(Window)
    , FWindow(Window)
    , FShow(std::move(ShowTile))
    , FSay(std::move(Say))
{
}

std::optional<int> TGoToTile::ParseIndex(const QString &Text)
{
    QString digits = Text.trimmed();
    int base = 16;
    if (digits.startsWith(QLatin1Char('#'))) {
        base = 10;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits.remove(0, 2);
    }
    // Signs and spaces are no part of an index.
    if (digits.isEmpty() || !digits.front().isLetterOrNumber())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok, base);
    if (!ok || value < 0 || value > 0x7FFFFFFF)
        return std::nullopt;
    return int(value);
}

void TGoToTile::Run(int Count)
{
    QInputDialog dialog(DialogParent(FWindow));
    dialog.setWindowTitle(QStringLiteral("Go to Tile"));
    dialog.setLabelText(QStringLiteral("Tile index, in hex (1A or 0x1A) or decimal (#26):"));
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() == QDialog::Accepted)
        Go(dialog.textValue(), Count);
}

void TGoToTile::Go(const QString &Text, int Count)
{
    const std::optional<int> tile = ParseIndex(Text);
    if (!tile) {
        FSay(QStringLiteral("Not a tile index: %1").arg(Text));
        return;
    }
    if (*tile >= Count) {
        FSay(Count > 0 ? QStringLiteral("No tile %1: the tiles are 0x0 to %2").arg(TileHex(*tile), TileHex(Count - 1))
                       : QStringLiteral("No tile %1: no file is loaded").arg(TileHex(*tile)));
        return;
    }
    // A word about an earlier attempt no longer holds.
    FSay(QString());
    FShow(*tile);
}
