#include "app/pictures/PicturesWindow.h"

#include "app/check/FindingsLine.h"
#include "app/document/CountWords.h"
#include "app/document/FileWatch.h"
#include "app/document/TileDocument.h"
#include "app/list/TileListModel.h"
#include "app/links/AnimationPlayer.h"
#include "app/links/TileLinks.h"
#include "app/pictures/PictureGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString GeometryKey = QStringLiteral("Pictures/Geometry");
const QString CellSizeKey = QStringLiteral("Pictures/CellSize");
const QString TexturesKey = QStringLiteral("Pictures/Textures");
const QString SettingsName = QStringLiteral("Quorvane");
constexpr int UsualCellSize = 64;

void BringForward(QWidget &Window)
{
    Window.show();
    Window.raise();
    Window.activateWindow();
}

} // namespace

TPicturesWindow::TPicturesWindow(TTileDocument &Document, QWidget &MainWindow, const Sources &From)
    : QWidget(nullptr, Qt::Window)
    , FDocument(Document)
    , FMainWindow(MainWindow)
    , FPictures(From.Pictures)
    , FMenuKeys(From.MenuKeys)
    , FShowInList(From.ShowInList)
{
    setObjectName(QStringLiteral("PicturesWindow"));
    setFont(MainWindow.font());
    auto *cells = new TPictureDelegate(
        From.Pictures, [this] { return FDocument.Store(); }, From.Differs, this);
    Grid = new TPictureGrid(Document, *From.Lines, cells, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    AddBar(From.Watch);
    FNotice = new QLabel(this);
    FNotice->setObjectName(QStringLiteral("PicturesNotice"));
    FNotice->setContentsMargins(6, 4, 6, 4);
    FNotice->hide();
    layout->addWidget(FNotice);
    layout->addWidget(Grid, 1);
    AddStatus(From.Status);
    resize(640, 480);
    AddKeys(From.MenuKeys);
    AddLinks(From.Links, cells);
    AddProblems(From.Problems, cells);
    AddButtonKeys();
    Grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Grid, &QWidget::customContextMenuRequested, this, &TPicturesWindow::ShowCellMenu);
    connect(Grid, &TPictureGrid::Typed, this, [this](const QString &Text) {
        if (Text.isEmpty())
            FStatus->clearMessage();
        else
            FStatus->showMessage(QStringLiteral("Go to tile 0x%1 (Escape goes back)").arg(Text));
    });
    const auto followFile = [this] {
        ShowTitle();
        ShowNotice();
    };
    connect(&Document, &TTileDocument::Loaded, this, followFile);
    connect(&Document, &TTileDocument::SectionChanged, this, followFile);
    connect(&Document, &TTileDocument::ModifiedChanged, this, &TPicturesWindow::ShowTitle);
    connect(&Document, &TTileDocument::SelectionChanged, this, &TPicturesWindow::ShowCount);
    connect(From.Lines, &QAbstractItemModel::modelReset, this, [this] { ShowCount(); ShowNotice(); });
    connect(Grid, &TPictureGrid::CellSizeChanged, this, [this] { Store(); });
    ShowTitle();
    ShowCount();
    ShowNotice();
}

TPicturesWindow::~TPicturesWindow() = default;

// F9 here brings the main window forward; Ctrl+plus and Ctrl+minus change
// the cell size (Ctrl+= too, as plus needs Shift on many keyboards). The
// main window's menu keys do here what they do there, on the document's
// selection, once a value typed into a box of the main window has gone into
// its tiles: that box keeps the focus of its own window, so no focus change
// commits it, and an undo or a new selection would drop it unseen.
void TPicturesWindow::AddKeys(const QList<QAction *> &MenuKeys)
{
    for (QAction *action : MenuKeys) {
        auto *here = new QAction(this);
        here->setShortcuts(action->shortcuts());
        connect(here, &QAction::triggered, this, [this, action] { Run(action); });
        addAction(here);
    }
    auto *back = new QAction(this);
    back->setShortcut(QKeySequence(Qt::Key_F9));
    connect(back, &QAction::triggered, this, [this] { BringForward(FMainWindow); });
    auto *larger = new QAction(this);
    larger->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QAction::triggered, this, [this] { Grid->Zoom(1); });
    auto *smaller = new QAction(this);
    smaller->setShortcuts(QKeySequence::ZoomOut);
    connect(smaller, &QAction::triggered, this, [this] { Grid->Zoom(-1); });
    auto *usual = new QAction(this);
    usual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(usual, &QAction::triggered, this, [this] { Grid->SetCellSize(UsualCellSize); });
    addActions({back, larger, smaller, usual});
}

// A dialog the key opened blocked this window while it stood over it; the
// grid takes the keys back after it. A key that sends the user to the main
// window (Ctrl+L) opens none, and the main window keeps the focus.
void TPicturesWindow::Run(QAction *Action)
{
    FBlocked = false;
    if (Grid->CommitPendingEdits())
        Action->trigger();
    if (FBlocked)
        TakeFocusBack();
}

bool TPicturesWindow::event(QEvent *Event)
{
    if (Event->type() == QEvent::WindowBlocked)
        FBlocked = true;
    return QWidget::event(Event);
}

// The main window's buttons answer Alt and their letter there (Alt+S
// saves); here too.
void TPicturesWindow::AddButtonKeys()
{
    const QList<QPushButton *> buttons = FMainWindow.findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        const QKeySequence key = QKeySequence::mnemonic(button->text());
        if (key.isEmpty() || button->window() != &FMainWindow)
            continue;
        auto *here = new QAction(this);
        here->setShortcut(key);
        connect(here, &QAction::triggered, this, [this, button] {
            FBlocked = false;
            if (Grid->CommitPendingEdits() && button->isEnabled())
                button->click();
            if (FBlocked)
                TakeFocusBack();
        });
        addAction(here);
    }
}

// A right click on a cell selects it unless it is selected already, and
// offers what acts on the selection there.
void TPicturesWindow::ShowCellMenu(const QPoint &At)
{
    const QModelIndex cell = Grid->indexAt(At);
    if (!cell.isValid())
        return;
    if (!Grid->selectionModel()->isSelected(cell)) {
        if (!Grid->CommitPendingEdits())
            return;
        FDocument.Select(qobject_cast<const TTileListModel *>(Grid->model())->TileAt(cell.row()));
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PicturesCellMenu"));
    for (const char *name : {"CopyTilesAction", "PasteTilesAction", "TakeFromOtherAction", "GoToAction"}) {
        const auto found = std::find_if(FMenuKeys.begin(), FMenuKeys.end(),
                                        [name](const QAction *Action) { return Action->objectName() == QLatin1String(name); });
        // Take from Other is offered while comparing only.
        if (found == FMenuKeys.end() || !(*found)->isVisible()
            || ((*found)->objectName() == QLatin1String("TakeFromOtherAction") && !(*found)->isEnabled()))
            continue;
        QAction *main = *found;
        QAction *entry = menu.addAction(main->text(), this, [this, main] { Run(main); });
        entry->setEnabled(main->isEnabled());
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Show in &List"), this, [this] {
        BringForward(FMainWindow);
        if (FShowInList)
            FShowInList();
    });
    menu.exec(Grid->viewport()->mapToGlobal(At));
}

void TPicturesWindow::TakeFocusBack()
{
    if (!isVisible())
        return;
    activateWindow();
    Grid->setFocus(Qt::OtherFocusReason);
}

// The current tile's findings stand in the status line, before the
// count; each cell's are in its tooltip.
void TPicturesWindow::AddProblems(TTileProblems *Problems, TPictureDelegate *Cells)
{
    if (!Problems)
        return;
    Cells->SetProblems(Problems);
    auto *line = new TFindingsLine(FDocument, *Problems, FStatus);
    line->setObjectName(QStringLiteral("PicturesFindings"));
    line->setMinimumWidth(120);
    line->setMaximumWidth(360);
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FStatus->insertPermanentWidget(0, line, 1);
}

// The switch stands above the grid; the current item's cell follows its
// animation frame by frame.
void TPicturesWindow::AddLinks(TTileLinks *Links, TPictureDelegate *Cells)
{
    if (!Links)
        return;
    Cells->SetLinks(Links);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PicturesBar"));
    TexturesSwitch = bar->addAction(QStringLiteral("Textures"));
    TexturesSwitch->setObjectName(QStringLiteral("TexturesSwitch"));
    TexturesSwitch->setToolTip(QStringLiteral("Land tiles show the textures their TexIDs name"));
    TexturesSwitch->setCheckable(true);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, bar);
    connect(TexturesSwitch, &QAction::toggled, this, [this, Cells](bool On) {
        Cells->SetShowTextures(On);
        Repaint();
        Store();
    });
    // Only the current cell changes with a frame: painting the whole grid
    // at each would cost a page's decoding and drawing several times a
    // second.
    connect(Links->Player, &TAnimationPlayer::Changed, this, [this] { Grid->update(Grid->currentIndex()); });
}

void TPicturesWindow::ShowOrRaise()
{
    if (!FRestored)
        Restore();
    BringForward(*this);
}

void TPicturesWindow::Repaint()
{
    Grid->viewport()->update();
}

// The bar the main window shows when the open file changed on disk shows
// here too, its button doing what the main one does.
void TPicturesWindow::AddBar(TFileWatch *Watch)
{
    if (!Watch)
        return;
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PicturesFileWatchBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    auto *text = new QLabel(bar);
    auto *button = new QPushButton(bar);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(text, 1);
    row->addWidget(button);
    layout()->addWidget(bar);
    connect(button, &QPushButton::clicked, Watch->ReloadButton, &QPushButton::click);
    const auto follow = [Watch, bar, text, button] {
        text->setText(Watch->Text->text());
        button->setText(Watch->ReloadButton->text());
        bar->setVisible(Watch->isVisibleTo(Watch->parentWidget()));
    };
    connect(Watch, &TFileWatch::Toggled, bar, follow);
    follow();
}

// The count stays on the right; the messages of the main window's status
// bar show here while this is the window the user works in, as those of
// the actions started here.
void TPicturesWindow::AddStatus(QStatusBar *MainStatus)
{
    FStatus = new QStatusBar(this);
    FStatus->setObjectName(QStringLiteral("PicturesStatus"));
    FStatus->setSizeGripEnabled(false);
    FCount = new QLabel(FStatus);
    FCount->setObjectName(QStringLiteral("PicturesCount"));
    FStatus->addPermanentWidget(FCount);
    layout()->addWidget(FStatus);
    if (MainStatus)
        connect(MainStatus, &QStatusBar::messageChanged, this, [this](const QString &Text) {
            if (isActiveWindow() || Text.isEmpty())
                FStatus->showMessage(Text);
        });
}

// "Pictures - Items - tiledata.mul[*] - Quorvane", marked as the main
// window's title is while there are unsaved edits.
void TPicturesWindow::ShowTitle()
{
    const QString name = QFileInfo(FDocument.FileName()).fileName();
    const QString section = FDocument.Section() == TTileKind::Land ? QStringLiteral("Land") : QStringLiteral("Items");
    setWindowTitle(name.isEmpty() ? QStringLiteral("Pictures - Quorvane")
                                  : QStringLiteral("Pictures - %1 - %2[*] - Quorvane").arg(section, name));
    setWindowModified(FDocument.IsModified());
}

// "1,234 tiles, 3 selected".
void TPicturesWindow::ShowCount()
{
    const int shown = Grid->model()->rowCount();
    const std::size_t selected = FDocument.Store() ? FDocument.SelectedTiles().size() : 0;
    FCount->setText(QStringLiteral("%1, %2 selected")
                        .arg(Counted(shown, QStringLiteral("tile"), QStringLiteral("tiles")),
                             Thousands(qint64(selected))));
}

// An empty grid says why: the filter keeps no tile, or no art lies beside
// the file, so that no tile has a picture.
void TPicturesWindow::ShowNotice()
{
    QString text;
    if (!FDocument.Store())
        text = QStringLiteral("No file is open");
    else if (Grid->model()->rowCount() == 0)
        text = QStringLiteral("No tile matches the filter");
    else if (!FPictures || !FPictures())
        text = QStringLiteral("No art was found beside the file: the tiles have no pictures");
    FNotice->setText(text);
    FNotice->setVisible(!text.isEmpty());
}

// Read when the window first opens, so that a run that never opens it
// never reads or writes the settings. The default format is the system's
// own; the tests choose a file of theirs.
void TPicturesWindow::Restore()
{
    FRestored = true;
    QSettings settings(QSettings::defaultFormat(), QSettings::UserScope, SettingsName, SettingsName);
    Grid->SetCellSize(settings.value(CellSizeKey, UsualCellSize).toInt());
    if (TexturesSwitch)
        TexturesSwitch->setChecked(settings.value(TexturesKey, false).toBool());
    const QByteArray geometry = settings.value(GeometryKey).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void TPicturesWindow::Store() const
{
    if (!FRestored)
        return;
    QSettings settings(QSettings::defaultFormat(), QSettings::UserScope, SettingsName, SettingsName);
    settings.setValue(CellSizeKey, Grid->CellSize());
    if (TexturesSwitch)
        settings.setValue(TexturesKey, TexturesSwitch->isChecked());
    if (isVisible())
        settings.setValue(GeometryKey, saveGeometry());
}

void TPicturesWindow::closeEvent(QCloseEvent *Event)
{
    Store();
    QWidget::closeEvent(Event);
}
