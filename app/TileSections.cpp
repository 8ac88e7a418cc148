#include "app/TileSections.h"

#include "app/ErrorBox.h"
#include "app/FilterBar.h"
#include "app/ListBox.h"
#include "app/TileListModel.h"
#include "app/Unit1.h"

#include "tiledata/TileDataReader.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QScopedValueRollback>
#include <QTabBar>

namespace {

TTileKind KindOfTab(int Index)
{
    return Index == 1 ? TTileKind::Land : TTileKind::Item;
}

} // namespace

TTileSections::TTileSections(TForm1 &Form, TFilterBar &Filter)
    : QObject(&Form)
    , FForm(Form)
    , FFilter(Filter)
{
    Tabs = new QTabBar(&FForm);
    Tabs->setObjectName(QStringLiteral("SectionTabs"));
    Tabs->addTab(QStringLiteral("Items"));
    Tabs->addTab(QStringLiteral("Land"));
    Tabs->setExpanding(true);
    Tabs->setToolTip(QStringLiteral("Item tiles or land tiles (Ctrl+Tab)"));
    connect(Tabs, &QTabBar::currentChanged, this, [this](int Index) {
        RunHandler(&FForm, [this, Index] { Switch(KindOfTab(Index)); });
        // A switch that did not happen leaves the tab of the list shown.
        const QSignalBlocker quiet(Tabs);
        Tabs->setCurrentIndex(int(Slot(Shown())));
    });

    // The texture box stands in the "One Tile" group, left of Rename, in a
    // row of its own that is disabled while the item tiles show.
    FLandFields = new QWidget(FForm.GroupBox3);
    FLandFields->setObjectName(QStringLiteral("LandFields"));
    FLandFields->setGeometry(16, 40, 105, 25);
    FTextureLabel = new QLabel(QStringLiteral("Texture"), FLandFields);
    FTextureLabel->setObjectName(QStringLiteral("LabelTexture"));
    FTextureLabel->move(0, 4);
    FTextureLabel->adjustSize();
    TextureBox = new QLineEdit(FLandFields);
    TextureBox->setObjectName(QStringLiteral("edTexture"));
    TextureBox->setGeometry(48, 2, 49, FForm.edWeight->height());
    TextureBox->setFont(FForm.edWeight->font());
    FTextureLabel->setBuddy(TextureBox);
    // The same key filter and commit on leaving as the other number boxes,
    // and Save and the close question commit it as they commit those.
    FForm.ExitHandlers.emplace_back(TextureBox, &TForm1::edTextureExit);
    TextureBox->installEventFilter(&FForm);
    TextureBox->setEnabled(FForm.Edit1->isEnabled());
    QWidget::setTabOrder(FForm.Edit1, TextureBox);
    QWidget::setTabOrder(TextureBox, FForm.Button2);
    EnableSectionControls(TTileKind::Item);
}

TTileKind TTileSections::Shown() const
{
    return FForm.ListModel->Kind();
}

void TTileSections::Switch(TTileKind Kind)
{
    if (Kind == Shown())
        return;
    LeaveBoxes(true);
    ShowSection(Kind);
}

void TTileSections::Toggle()
{
    Switch(Shown() == TTileKind::Item ? TTileKind::Land : TTileKind::Item);
}

void TTileSections::Show(TTileKind Kind)
{
    if (Kind == Shown())
        return;
    LeaveBoxes(false);
    ShowSection(Kind);
}

void TTileSections::ForgetOtherSelection()
{
    FPlaces[1 - Slot(Shown())] = Place();
}

// A number box must not keep the focus through the switch: disabling it
// would move the focus on and, with it, commit the box into a tile of the
// other list. The focus goes to the list, which the user is switching.
void TTileSections::LeaveBoxes(bool Commit)
{
    QWidget *focus = QApplication::focusWidget();
    const bool inTileControls = focus && (FForm.GroupBox1->isAncestorOf(focus) || FForm.GroupBox2->isAncestorOf(focus)
                                          || FForm.GroupBox3->isAncestorOf(focus));
    if (!inTileControls)
        return;
    if (Commit)
        FForm.CommitFocusedNumberBox();
    else if (FForm.HasSelectedTile())
        FForm.ListBox1Click(); // the boxes show the tile's values again
    FForm.ListBox1->setFocus(Qt::OtherFocusReason);
}

void TTileSections::ShowSection(TTileKind Kind)
{
    const int topRow = FForm.TopIndex();
    FPlaces[Slot(Shown())] = {FForm.SelectedTile(), FForm.ListModel->TileAt(topRow)};
    FForm.ListModel->SetKind(Kind);
    EnableSectionControls(Kind);
    {
        const QScopedValueRollback<bool> byProgram(FForm.SelectingByProgram, true);
        FFilter.Refilter();
    }
    const Place &place = FPlaces[Slot(Kind)];
    FForm.SetTopIndex(FForm.ListModel->RowOf(place.Top));
    FForm.SetSelection(place.Tile);
    if (!FForm.HasSelectedTile()) {
        ShowNoTile();
        return;
    }
    // As a click does: a tile beyond a short file's end shows greyed out.
    FForm.EnableTileControls(FForm.TileData->IsWhole(Kind, place.Tile));
    FForm.ListBox1->scrollTo(FForm.ListModel->index(FForm.ListModel->RowOf(place.Tile)));
    FForm.ListBox1Click();
}

// With no tile selected in the list now shown, the boxes show none either,
// rather than a tile of the other list.
void TTileSections::ShowNoTile()
{
    FForm.TileShown = false;
    for (QCheckBox *box : FForm.FlagBoxes)
        box->setChecked(false);
    for (QLineEdit *box : {FForm.Edit1, FForm.Edit2, TextureBox})
        box->clear();
    FForm.Label2->clear();
    FForm.Image1->clear();
}

void TTileSections::FillLandBoxes(int Tile)
{
    TextureBox->setText(QString::number(FForm.TileData->GetTexture(Tile)));
    for (const auto &entry : FForm.ExitHandlers) {
        if (entry.first != TextureBox)
            entry.first->clear();
    }
}

// The Properties group holds only item fields; disabled, it disables every
// box in it whatever each box's own state, which the selection keeps.
void TTileSections::EnableSectionControls(TTileKind Kind)
{
    FForm.GroupBox2->setEnabled(Kind == TTileKind::Item);
    FLandFields->setEnabled(Kind == TTileKind::Land);
    const QSignalBlocker quiet(Tabs);
    Tabs->setCurrentIndex(int(Slot(Kind)));
}
