#include "app/EditorTools.h"

#include "app/ErrorBox.h"
#include "app/FileActions.h"
#include "app/FileWatch.h"
#include "app/FilterBar.h"
#include "app/FindNext.h"
#include "app/GoToTile.h"
#include "app/ListBox.h"
#include "app/MenuBar.h"
#include "app/TileListModel.h"
#include "app/TileSections.h"
#include "app/UndoSteps.h"
#include "app/Unit1.h"

#include "tiledata/TileDataReader.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QStatusBar>
#include <QTabBar>

TEditorTools::TEditorTools(TForm1 &Form)
    : QObject(&Form)
    , FForm(Form)
{
    auto say = [this](const QString &Text) { FForm.StatusBar1->showMessage(Text); };
    Undo = new TUndoSteps([this] { return FForm.TileData.get(); },
                         [this](TTileKind Kind, const std::vector<int> &Tiles) { StepShown(Kind, Tiles); }, this);
    GoTo = new TGoToTile(&FForm, [this](int Tile) { ShowTile(Tile); }, say);
    FFind = std::make_unique<TFindNext>(say);
    Filter = new TFilterBar(FForm);
    Sections = new TTileSections(FForm, *Filter);
    Watch = new TFileWatch(&FForm, [this] { return FForm.TileData && FForm.TileData->IsModified(); },
                           [this] { RunHandler(&FForm, [this] { Files->Reload(); }); });
    Files = new TFileActions(FForm);
    Menus = new TMenuBar(FForm, *this);
    // The section tabs and the filter box come just before the list they
    // choose and filter, in the order they stand above it.
    QWidget::setTabOrder(FForm.BitBtn3, Sections->Tabs);
    QWidget::setTabOrder(Sections->Tabs, Filter->Box);
    QWidget::setTabOrder(Filter->Box, Filter->FlagsButton);
    connect(Watch, &TFileWatch::Toggled, this, &TEditorTools::Relayout);
    FForm.installEventFilter(this);
    FForm.ListBox1->installEventFilter(this);
    if (FForm.TileData)
        Watch->Watch(FForm.TileData->GetFileName());
    Relayout();
}

TEditorTools::~TEditorTools() = default;

int TEditorTools::ListTop() const
{
    return FTop + TTileSections::TabsHeight + TFilterBar::Height;
}

// Everything of the form moves down by what the bars above it take, and the
// window grows by as much.
void TEditorTools::Relayout()
{
    const int top = Menus->sizeHint().height() + (Watch->isVisibleTo(&FForm) ? Watch->sizeHint().height() : 0);
    const int delta = top - FTop;
    if (delta == 0)
        return PlaceBars();
    FTop = top;
    for (QWidget *child : FForm.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != Menus && child != Watch && child != Filter && child != Sections->Tabs && !child->isWindow())
            child->move(child->x(), child->y() + delta);
    }
    FForm.resize(FForm.width(), FForm.height() + delta);
    PlaceBars();
}

void TEditorTools::PlaceBars()
{
    const int menuHeight = Menus->sizeHint().height();
    Menus->setGeometry(0, 0, FForm.width(), menuHeight);
    Watch->setGeometry(0, menuHeight, FForm.width(), Watch->sizeHint().height());
    const QRect list = FForm.ListBox1->geometry();
    Sections->Tabs->setGeometry(list.x(), FTop, list.width(), TTileSections::TabsHeight);
    Filter->setGeometry(list.x(), ListTop() - TFilterBar::Height, list.width(), TFilterBar::Height);
}

void TEditorTools::Detach()
{
    FForm.removeEventFilter(this);
    FForm.ListBox1->removeEventFilter(this);
}

bool TEditorTools::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::Resize || (Watched == FForm.ListBox1 && Event->type() == QEvent::Move))
        PlaceBars();
    return QObject::eventFilter(Watched, Event);
}

void TEditorTools::ShowTile(int Tile)
{
    Filter->Reveal(Tile);
    FForm.SetSelection(Tile);
    const int row = FForm.ListModel->RowOf(Tile);
    if (row >= 0)
        FForm.ListBox1->scrollTo(FForm.ListModel->index(row));
    FForm.ListBox1Click();
}

void TEditorTools::Edit(std::unique_ptr<TRecordStep> Step, const std::function<void()> &Change)
{
    Undo->Edit(std::move(Step), Change);
}

// An undone or redone step switches to its section's list, shows its lines
// as the store now has them and selects its first tile.
void TEditorTools::StepShown(TTileKind Kind, const std::vector<int> &Tiles)
{
    RunHandler(&FForm, [this, Kind, &Tiles] {
        Sections->Show(Kind);
        if (Tiles.size() == 1)
            FForm.ListModel->ReplaceLine(Tiles.front(), FForm.TileData->ListLine(Kind, Tiles.front()));
        else
            FForm.ListModel->Refill();
        if (!Tiles.empty())
            ShowTile(Tiles.front());
    });
}

void TEditorTools::Found(const QString &Text, int Tile)
{
    FFind->Found(Text, Tile);
    if (Tile >= 0)
        ShowTile(Tile);
    else
        FForm.SetSelection(-1);
}

void TEditorTools::FindNext()
{
    if (!FForm.TileData)
        return;
    if (!FFind->HasText()) {
        FForm.Button5Click();
        return;
    }
    const int found = FFind->Next(*FForm.TileData, FForm.ListModel->Kind(), FForm.SelectedTile());
    if (found >= 0)
        ShowTile(found);
}

void TEditorTools::Saved()
{
    Watch->Wrote();
}

QString TEditorTools::ReplacedText(const QString &OldName, const QString &NewName) const
{
    QString text = QStringLiteral("Replaced ") + OldName + QStringLiteral(" with ") + NewName;
    if (Filter->IsActive())
        text += QStringLiteral(" in all tiles, shown or not");
    return text;
}
