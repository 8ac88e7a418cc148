#include "app/pictures/PicturesWindow.h"

#include "app/document/TileDocument.h"
#include "app/links/AnimationPlayer.h"
#include "app/links/TileLinks.h"
#include "app/pictures/PictureGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QSettings>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString GeometryKey = QStringLiteral("Pictures/Geometry");
const QString CellSizeKey = QStringLiteral("Pictures/CellSize");
const QString TexturesKey = QStringLiteral("Pictures/Textures");
const QString SettingsName = QStringLiteral("Quorvane");

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
{
    setObjectName(QStringLiteral("PicturesWindow"));
    setFont(MainWindow.font());
    auto *cells = new TPictureDelegate(
        From.Pictures, [this] { return FDocument.Store(); }, From.Differs, this);
    Grid = new TPictureGrid(Document, *From.Lines, cells, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Grid);
    resize(640, 480);
    AddKeys(From.MenuKeys);
    AddLinks(From.Links, cells);
    connect(&Document, &TTileDocument::Loaded, this, &TPicturesWindow::ShowTitle);
    connect(Grid, &TPictureGrid::CellSizeChanged, this, [this] { Store(); });
    ShowTitle();
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
        connect(here, &QAction::triggered, this, [this, action] {
            if (Grid->CommitPendingEdits())
                action->trigger();
        });
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
    addActions({back, larger, smaller});
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

void TPicturesWindow::ShowTitle()
{
    const QString name = QFileInfo(FDocument.FileName()).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Pictures - Quorvane")
                                  : QStringLiteral("Pictures - %1 - Quorvane").arg(name));
}

// Read when the window first opens, so that a run that never opens it
// never reads or writes the settings.
void TPicturesWindow::Restore()
{
    FRestored = true;
    QSettings settings(SettingsName, SettingsName);
    Grid->SetCellSize(settings.value(CellSizeKey, 64).toInt());
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
    QSettings settings(SettingsName, SettingsName);
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
