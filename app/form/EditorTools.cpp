#include "app/form/EditorTools.h"

#include "app/document/ErrorBox.h"
#include "app/document/FileActions.h"
#include "app/document/FileWatch.h"
#include "app/document/MenuBar.h"
#include "app/document/TileClipboard.h"
#include "app/document/TileDocument.h"
#include "app/form/FindNext.h"
#include "app/form/GoToTile.h"
#include "app/list/FilterBar.h"
#include "app/list/TileSections.h"

#include "tiledata/TileDataReader.h"

#include <QEvent>
#include <QInputDialog>
#include <QTabBar>

TEditorTools::TEditorTools(TTileDocument &Document, QWidget &Window, const Anchors &Parts)
    : QObject(&Window)
    , FDocument(Document)
    , FWindow(Window)
    , FList(Parts.List)
{
    auto say = [this](const QString &Text) { emit Say(Text); };
    GoTo = new TGoToTile(&FWindow, [this](int Tile) { FDocument.Select(Tile); }, say);
    FFind = std::make_unique<TFindNext>(say);
    Filter = new TFilterBar(FDocument, &FWindow);
    Sections = new TTileSections(FDocument, &FWindow, Parts.OneTile, Parts.NumberBox);
    Watch = new TFileWatch(FDocument, &FWindow);
    Files = new TFileActions(FDocument, &FWindow, Parts.OpenDialog);
    Menus = new TMenuBar(FDocument.UndoStack(), &FWindow);
    Clipboard = new TTileClipboard(FDocument, this);
    connect(Clipboard, &TTileClipboard::Say, this, say);
    connect(Files, &TFileActions::Say, this, say);
    connect(Watch, &TFileWatch::ReloadRequested, this, [this] { RunHandler(&FWindow, [this] { Files->Reload(); }); });
    connect(Watch, &TFileWatch::Toggled, this, &TEditorTools::Relayout);
    ConnectMenus();
    FWindow.installEventFilter(this);
    FList->installEventFilter(this);
    Relayout();
}

TEditorTools::~TEditorTools() = default;

// The menu entries of the tools; the window connects those of its own handlers.
void TEditorTools::ConnectMenus()
{
    const std::pair<void (TMenuBar::*)(), std::function<void()>> actions[] = {
        {&TMenuBar::OpenRequested, [this] { Files->Open(); }},
        {&TMenuBar::SaveAsRequested, [this] { Files->SaveAs(); }},
        {&TMenuBar::ReloadRequested, [this] { Files->Reload(); }},
        {&TMenuBar::FindNextRequested, [this] { FindNext(); }},
        {&TMenuBar::GoToRequested, [this] { GoToTile(); }},
        {&TMenuBar::SwitchSectionRequested, [this] { Sections->Toggle(); }},
        {&TMenuBar::FilterRequested, [this] { Filter->FocusBox(); }},
        {&TMenuBar::ShowEveryTileRequested, [this] { Filter->Clear(); }},
        {&TMenuBar::CopyTilesRequested, [this] { Clipboard->Copy(); }},
        {&TMenuBar::PasteTilesRequested, [this] { Clipboard->Paste(); }},
    };
    for (const auto &[request, action] : actions) {
        const auto run = action;
        connect(Menus, request, this, [this, run] { RunHandler(&FWindow, run); });
    }
}

int TEditorTools::ListTop() const
{
    return FTop + TTileSections::TabsHeight + TFilterBar::Height;
}

// Everything of the window moves down by what the bars above it take, and
// the window grows by as much.
void TEditorTools::Relayout()
{
    const int top = Menus->sizeHint().height() + (Watch->isVisibleTo(&FWindow) ? Watch->sizeHint().height() : 0);
    const int delta = top - FTop;
    if (delta == 0)
        return PlaceBars();
    FTop = top;
    for (QWidget *child : FWindow.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != Menus && child != Watch && child != Filter && child != Sections->Tabs && !child->isWindow())
            child->move(child->x(), child->y() + delta);
    }
    FWindow.resize(FWindow.width(), FWindow.height() + delta);
    PlaceBars();
}

void TEditorTools::PlaceBars()
{
    const int menuHeight = Menus->sizeHint().height();
    Menus->setGeometry(0, 0, FWindow.width(), menuHeight);
    Watch->setGeometry(0, menuHeight, FWindow.width(), Watch->sizeHint().height());
    const QRect list = FList->geometry();
    Sections->Tabs->setGeometry(list.x(), FTop, list.width(), TTileSections::TabsHeight);
    Filter->setGeometry(list.x(), ListTop() - TFilterBar::Height, list.width(), TFilterBar::Height);
}

void TEditorTools::Detach()
{
    FWindow.removeEventFilter(this);
    FList->removeEventFilter(this);
}

bool TEditorTools::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::Resize || (Watched == FList && Event->type() == QEvent::Move))
        PlaceBars();
    return QObject::eventFilter(Watched, Event);
}

// A value typed into a box goes in before the question, so that a refused
// one is said before the user answers it.
void TEditorTools::GoToTile()
{
    FDocument.CommitPendingEdits();
    const TTileData *store = FDocument.Store();
    GoTo->Run(store ? store->Count(FDocument.Section()) : 0);
}

// A value typed into a box goes in before the question, so that a refused
// one is said first.
void TEditorTools::Find()
{
    FDocument.CommitPendingEdits();
    QInputDialog dialog(DialogParent(&FWindow));
    dialog.setWindowTitle(QStringLiteral("Lookup Tilename"));
    dialog.setLabelText(QStringLiteral("Type full or partial name to find:"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    Found(dialog.textValue(), FDocument.Store()->FindName(FDocument.Section(), dialog.textValue()));
}

void TEditorTools::Found(const QString &Text, int Tile)
{
    FFind->Found(Text, Tile);
    FDocument.Select(Tile);
}

void TEditorTools::FindNext()
{
    if (!FDocument.Store())
        return;
    if (!FFind->HasText())
        return emit FindAsked();
    const int found = FFind->Next(*FDocument.Store(), FDocument.Section(), FDocument.CurrentTile());
    if (found >= 0)
        FDocument.Select(found);
}

QString TEditorTools::ReplacedText(const QString &OldName, const QString &NewName) const
{
    QString text = QStringLiteral("Replaced ") + OldName + QStringLiteral(" with ") + NewName;
    if (Filter->IsActive())
        text += QStringLiteral(" in all tiles, shown or not");
    return text;
}
