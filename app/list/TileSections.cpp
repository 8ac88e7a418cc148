#include "app/list/TileSections.h"

#include "app/document/ErrorBox.h"
#include "app/document/TileDocument.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>

namespace {

TTileKind KindOfTab(int Index)
{
    return Index == 1 ? TTileKind::Land : TTileKind::Item;
}

int TabOf(TTileKind Kind)
{
    return Kind == TTileKind::Land ? 1 : 0;
}

} // namespace

TTileSections::TTileSections(TTileDocument &Document, QWidget *Window, QGroupBox *OneTile, const QLineEdit *LikeBox)
    : QObject(Window)
    , FDocument(Document)
    , FWindow(Window)
{
    Tabs = new QTabBar(Window);
    Tabs->setObjectName(QStringLiteral("SectionTabs"));
    Tabs->addTab(QStringLiteral("Items"));
    Tabs->addTab(QStringLiteral("Land"));
    Tabs->setExpanding(true);
    Tabs->setToolTip(QStringLiteral("Item tiles or land tiles (Ctrl+Tab)"));
    connect(Tabs, &QTabBar::currentChanged, this, [this](int Index) {
        RunHandler(FWindow, [this, Index] { Switch(KindOfTab(Index)); });
        // A switch that did not happen leaves the tab of the list shown.
        Follow(Shown());
    });

    // The texture box stands in the "One Tile" group, left of Rename; the
    // window enables its row while the land tiles show.
    LandFields = new QWidget(OneTile);
    LandFields->setObjectName(QStringLiteral("LandFields"));
    LandFields->setGeometry(16, 40, 105, 25);
    FTextureLabel = new QLabel(QStringLiteral("Texture"), LandFields);
    FTextureLabel->setObjectName(QStringLiteral("LabelTexture"));
    FTextureLabel->move(0, 4);
    FTextureLabel->adjustSize();
    TextureBox = new QLineEdit(LandFields);
    TextureBox->setObjectName(QStringLiteral("edTexture"));
    TextureBox->setGeometry(48, 2, 49, LikeBox->height());
    TextureBox->setFont(LikeBox->font());
    FTextureLabel->setBuddy(TextureBox);
    connect(&FDocument, &TTileDocument::SectionChanged, this, &TTileSections::Follow);
    Follow(Shown());
}

TTileKind TTileSections::Shown() const
{
    return FDocument.Section();
}

void TTileSections::Switch(TTileKind Kind)
{
    FDocument.SwitchSection(Kind);
}

void TTileSections::Toggle()
{
    Switch(Shown() == TTileKind::Item ? TTileKind::Land : TTileKind::Item);
}

void TTileSections::Follow(TTileKind Kind)
{
    const QSignalBlocker quiet(Tabs);
    Tabs->setCurrentIndex(TabOf(Kind));
}
