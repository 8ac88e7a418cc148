#include "app/form/UpperFlagBoxes.h"

#include "tiledata/TileFlags.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QToolButton>

TUpperFlagBoxes::TUpperFlagBoxes(QGroupBox *Group, const std::array<QCheckBox *, 32> &Lower)
    : QObject(Group)
    , FLower(Lower)
{
    for (std::size_t k = 0; k < FUpper.size(); ++k) {
        auto *box = new QCheckBox(QLatin1String(FlagCaption(int(32 + k))), Group);
        // Named by the bit's number, whether or not the bit has a name.
        box->setObjectName(QStringLiteral("cbBit%1").arg(32 + k));
        // In plain bit order: on the first page bit 31 stands above bit 30.
        const std::size_t place = k >= 30 ? 61 - k : k;
        box->setGeometry(FLower[place]->geometry());
        box->hide();
        FUpper[k] = box;
    }
    FPageButton = new QToolButton(Group);
    FPageButton->setObjectName(QStringLiteral("btUpperFlags"));
    FPageButton->setAutoRaise(true);
    FPageButton->setToolTip(QStringLiteral("Show flag bits 32 to 63 (a newer file has 64)"));
    // In the gap between the group's upper and lower halves of boxes, under
    // the right column.
    const QRect above = FLower[15]->geometry();
    FPageButton->setGeometry(above.left(), above.bottom() + 1, above.width(), FLower[16]->y() - above.bottom() - 1);
    FPageButton->hide();
    connect(FPageButton, &QToolButton::clicked, this, [this] { ShowUpperPage(!FUpperShown); });
    ShowUpperPage(false);
}

void TUpperFlagBoxes::SetAvailable(bool Available)
{
    FPageButton->setVisible(Available);
    if (!Available)
        ShowUpperPage(false);
}

void TUpperFlagBoxes::ShowUpperPage(bool Upper)
{
    FUpperShown = Upper;
    for (std::size_t k = 0; k < FUpper.size(); ++k) {
        FLower[k]->setVisible(!Upper);
        FUpper[k]->setVisible(Upper);
    }
    FPageButton->setText(Upper ? QStringLiteral("\u25C2 Bits 0-31") : QStringLiteral("Bits 32-63 \u25B8"));
}
