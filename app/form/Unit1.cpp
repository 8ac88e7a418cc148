#include "app/form/Unit1.h"

#include "app/check/ProblemsTools.h"
#include "app/compare/CompareSession.h"
#include "app/compare/CompareTools.h"
#include "app/document/ErrorBox.h"
#include "app/document/FileActions.h"
#include "app/document/MenuBar.h"
#include "app/document/OpenWarnings.h"
#include "app/document/SaveQuestions.h"
#include "app/document/TileDocument.h"
#include "app/form/AboutBox.h"
#include "app/form/EditorTools.h"
#include "app/form/TypedValues.h"
#include "app/links/TileLinks.h"
#include "app/list/FilterBar.h"
#include "app/list/FreeSlots.h"
#include "app/list/ListBox.h"
#include "app/list/ListView.h"
#include "app/list/TileListModel.h"
#include "app/list/TileSections.h"
#include "app/list/ViewSelection.h"
#include "app/pictures/PicturesWindow.h"

#include "art/PictureCache.h"
#include "art/VellArtReader.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <memory>

TForm1 *Form1 = nullptr;

namespace {

constexpr int ClientWidth = 718;
constexpr int ClientHeight = 535;
constexpr int ListWidth = 209;
constexpr int StatusHeight = 19;

constexpr QLatin1String SavedStatus("Tiledata has been saved");

} // namespace

TForm1::TForm1(QWidget *Parent, const QString &StartFile)
    : QWidget(Parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setFont(SansFont());
    resize(ClientWidth, ClientHeight);
    Document = new TTileDocument(this);
    CreateControls();
    // The picture is drawn into a 15-bit bitmap, as the art files store it.
    Image1Bitmap = QImage(0, 0, QImage::Format_RGB555);
    // A box that start-up shows is centred over the window, which is not
    // shown yet: put the window where it will appear first.
    CenterOnScreen(this);
    FormCreate(StartFile);
}

TForm1::~TForm1()
{
    // The tools outlive this part of the window (they are its children), and
    // must not lay out controls of a window being taken apart; nor may the
    // document tell controls that are gone.
    if (Tools)
        Tools->Detach();
    Document->disconnect(this);
}

const TTileData *TForm1::TileData() const
{
    return Document->Store();
}

// ---------------------------------------------------------------------------
// Building the window

// The tools come before the window follows the document, so that they have
// followed a load (the filter forgets itself) before the list shows it.
void TForm1::CreateControls()
{
    BuildControls(this, [this] { return Document->Store(); });
    Tools = new TEditorTools(*Document, *this, {ListBox1, GroupBox3, edWeight, OpenDialog1.get()});
    Compare = new TCompareTools(*Document, *this, {Tools->Menus, Tools->Filter, Tools->Watch},
                                {ListBox1, ListModel, StatusBar1, OpenDialog1->nameFilters(),
                                 {FieldBoxes(Tools->Sections->TextureBox), FlagBoxes, Edit1, Panel1}});
    // In the order of the Properties' fields, then the texture.
    const std::array<void (TForm1::*)(), 12> exits = {
        &TForm1::edWeightExit,   &TForm1::edQualityExit,  &TForm1::edHeightExit,   &TForm1::edQuantityExit,
        &TForm1::edHueExit,      &TForm1::edAnimExit,     &TForm1::edUnknown0Exit, &TForm1::edUnknown1Exit,
        &TForm1::edunknown2Exit, &TForm1::edUnknown3Exit, &TForm1::edUnknown4Exit, &TForm1::edTextureExit,
    };
    Values = new TTypedValues(*Document, *this, BitBtn1);
    connect(Values, &TTypedValues::SaveDropped, this, &TForm1::ForgetSavedStatus);
    for (std::size_t k = 0; k < NumberBoxes.size(); ++k)
        Values->Add(NumberBoxes[k], [this, exit = exits[k]] { (this->*exit)(); });
    Values->Add(Tools->Sections->TextureBox, [this] { edTextureExit(); });
    SetTabOrder();
    ConnectHandlers();
    ConnectFlagBoxes();
    ConnectDocument();
    ConnectMenus();
    InstallKeyFilters();
    CreatePictures();
    // Nothing is selected yet; the item tiles show first.
    EnableTileControls(false, Tools->Sections->TextureBox);
    Tools->Sections->LandFields->setEnabled(false);
}

// The Pictures window is built when first opened, so that a run that never
// opens it pays for one menu entry. The filter's Free switch asks the art
// view's pictures.
void TForm1::CreatePictures()
{
    QAction *show = Tools->Menus->ViewMenu->addAction(QStringLiteral("&Pictures"));
    show->setObjectName(QStringLiteral("PicturesAction"));
    show->setShortcut(QKeySequence(Qt::Key_F9));
    connect(show, &QAction::triggered, this, [this] { OpenPictures(); });
    new TFreeSlots(*Document, *Tools->Filter, PictureSource(), this);
    Links = new TTileLinks(*Document, {Panel1, Image1, Tools->Filter}, PictureSource(), *this);
    Checks = new TProblemsTools(*Document, {Panel1, ListBox1, Tools->Filter}, this);
}

std::function<TPictureCache *()> TForm1::PictureSource()
{
    return [this] { return VellArtReader1 ? VellArtReader1->Pictures() : nullptr; };
}

// The grid shows the list's lines with the art view's pictures, and follows
// the document after the list has. Its keys are the menus' own, but F9,
// which there brings this window forward.
TPicturesWindow &TForm1::OpenPictures()
{
    if (!Pictures) {
        Pictures = std::make_unique<TPicturesWindow>(
            *Document, *this,
            TPicturesWindow::Sources{
                ListModel, PictureSource(),
                [this](TTileKind Kind, int Tile) { return Compare->Session->Differs(Kind, Tile); },
                Tools->Menus->KeyedActions(QStringLiteral("PicturesAction")), StatusBar1, Tools->Watch,
                [this] { ListBox1->setFocus(Qt::OtherFocusReason); List->CenterCurrent(); },
                Links, Checks->Problems});
        connect(Compare->Session, &TCompareSession::MarksChanged, Pictures.get(), &TPicturesWindow::Repaint);
    }
    Pictures->ShowOrRaise();
    return *Pictures;
}

void TForm1::SetTabOrder()
{
    SetFormTabOrder();
    // The texture box stands between the rename box and its button; the
    // section tabs and the filter box come just before the list they choose
    // and filter, in the order they stand above it.
    const std::vector<QWidget *> tools = {Edit1, Tools->Sections->TextureBox, Button2};
    const std::vector<QWidget *> bars = {BitBtn3, Tools->Sections->Tabs, Tools->Filter->Box, Tools->Filter->FlagsButton};
    for (const auto *chain : {&tools, &bars}) {
        for (std::size_t k = 1; k < chain->size(); ++k)
            QWidget::setTabOrder((*chain)[k - 1], (*chain)[k]);
    }
}

void TForm1::ConnectHandlers()
{
    List = new TListView(*Document, *ListBox1, *ListModel, *Tools->Filter, *StatusBar1, this);
    connect(List, &TListView::Chosen, this, [this] { RunGuarded(&TForm1::ListBox1Click); });
    const std::pair<QPushButton *, void (TForm1::*)()> clicks[] = {
        {BitBtn1, &TForm1::BitBtn1Click}, {BitBtn2, &TForm1::BitBtn2Click}, {BitBtn3, &TForm1::BitBtn3Click},
        {Button1, &TForm1::Button1Click}, {Button2, &TForm1::Button2Click}, {Button3, &TForm1::Button3Click},
        {Button4, &TForm1::Button4Click}, {Button5, &TForm1::Button5Click},
    };
    for (const auto &[button, handler] : clicks) {
        const auto click = handler;
        connect(button, &QPushButton::clicked, this, [this, click] { RunGuarded(click); });
    }
    // Only what the user types makes a rename pending, never what a tile shows.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString &Text) { Document->SetPendingName(Text); });
    connect(Tools->Filter, &TFilterBar::Changed, this, [this] { Guarded([this] { FilterChanged(); }); });
    connect(Tools, &TEditorTools::Say, StatusBar1, [this](const QString &Text) { StatusBar1->showMessage(Text); });
}

void TForm1::ConnectFlagBoxes()
{
    // Bit k of the flags word is entry k.
    const std::array<void (TForm1::*)(), 32> clicks = {
        &TForm1::cbBackgroundClick, &TForm1::cbWeaponClick,    &TForm1::cbTransparentClick, &TForm1::cbTranslucentClick,
        &TForm1::cbWallClick,       &TForm1::cbDamagingClick,  &TForm1::cbImpassableClick,  &TForm1::cbWetClick,
        &TForm1::cbUnknown1Click,   &TForm1::cbSurfaceClick,   &TForm1::cbBridgeClick,      &TForm1::cbGenericClick,
        &TForm1::cbWindowClick,     &TForm1::cbNoShootClick,   &TForm1::cbPrefixAClick,     &TForm1::cbPrefixANClick,
        &TForm1::cbMongenClick,     &TForm1::cbFoliageClick,   &TForm1::cbPartialhueClick,  &TForm1::cbUnknown2Click,
        &TForm1::cbMapClick,        &TForm1::cbContainerClick, &TForm1::cbWearableClick,    &TForm1::cbLightsourceClick,
        &TForm1::cbAnimatedClick,   &TForm1::cbnodiagonalClick, &TForm1::cbUnknown3Click,   &TForm1::cbArmorClick,
        &TForm1::cbRoofClick,       &TForm1::cbDoorClick,      &TForm1::cbStairsbackClick,  &TForm1::cbStairRightClick,
    };
    for (std::size_t bit = 0; bit < clicks.size(); ++bit) {
        const auto click = clicks[bit];
        connect(FlagBoxes[bit], &QCheckBox::stateChanged, this, [this, click] { RunGuarded(click); });
    }
    for (int bit = 32; bit < 64; ++bit) {
        QCheckBox *box = FlagBoxes[std::size_t(bit)];
        connect(box, &QCheckBox::stateChanged, this, [this, box, bit] { Guarded([=] { FlagClick(box, bit); }); });
    }
}

void TForm1::ConnectDocument()
{
    Document->SetPendingEdits([this] { Values->CommitFocused(); });
    Document->SetLayoutQuestion(
        [this](const QString &Name, qint64 Size, const TLayoutGuess &Guess) {
            return TOpenWarnings::AskLayout(this, Name, Size, Guess);
        });
    connect(Document, &TTileDocument::Loaded, this, &TForm1::FollowLoad);
    connect(Document, &TTileDocument::TilesChanged, this, &TForm1::FollowTiles);
    connect(Document, &TTileDocument::SelectionChanged, this, &TForm1::FollowSelection);
    connect(Document, &TTileDocument::SectionChanged, this, &TForm1::FollowSection);
    connect(Document, &TTileDocument::ModifiedChanged, this, &QWidget::setWindowModified);
    connect(Document, &TTileDocument::Saved, this, [this] { StatusBar1->showMessage(SavedStatus); });
    connect(Document, &TTileDocument::StatusText, this, [this](const QString &Text) { StatusBar1->showMessage(Text); });
}

void TForm1::ConnectMenus()
{
    TMenuBar *menus = Tools->Menus;
    const std::pair<void (TMenuBar::*)(), void (TForm1::*)()> handlers[] = {
        {&TMenuBar::SaveRequested, &TForm1::BitBtn1Click},
        {&TMenuBar::CloseRequested, &TForm1::BitBtn2Click},
        {&TMenuBar::FindRequested, &TForm1::Button5Click},
        {&TMenuBar::AboutRequested, &TForm1::BitBtn3Click},
    };
    for (const auto &[request, handler] : handlers) {
        const auto run = handler;
        connect(menus, request, this, [this, run] { RunGuarded(run); });
    }
    // Find Next asks for the text first when there is none yet.
    connect(Tools, &TEditorTools::FindAsked, this, [this] { RunGuarded(&TForm1::Button5Click); });
}

void TForm1::InstallKeyFilters()
{
    ListBox1->installEventFilter(this);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    for (const auto &entry : Values->Boxes())
        entry.first->installEventFilter(this);
}

// ---------------------------------------------------------------------------
// Window events

void TForm1::showEvent(QShowEvent *Event)
{
    QWidget::showEvent(Event);
    if (Event->spontaneous())
        return;
    if (!ShownBefore) {
        ShownBefore = true;
        CenterOnScreen(this);
    }
    RunGuarded(&TForm1::FormShow);
}

void TForm1::closeEvent(QCloseEvent *Event)
{
    bool mayClose = false;
    RunHandler(this, [&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        Event->ignore();
        return;
    }
    RunGuarded(&TForm1::FormClose);
    Event->accept();
}

void TForm1::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    // Only the list (in height) and the status bar (in width) follow the
    // window's size; everything else keeps its place.
    const int top = Tools ? Tools->ListTop() : 0;
    ListBox1->setGeometry(0, top, ListWidth, height() - StatusHeight - top);
    StatusBar1->setGeometry(0, height() - StatusHeight, width(), StatusHeight);
}

bool TForm1::eventFilter(QObject *Watched, QEvent *Event)
{
    bool consumed = false;
    RunHandler(this, [&] { consumed = FilterEvent(Watched, Event); });
    return consumed;
}

bool TForm1::FilterEvent(QObject *Watched, QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::KeyPress:
        if (Watched == ListBox1)
            return ListBox1KeyDown(static_cast<QKeyEvent *>(Event));
        if (Values->IsDecimalBox(Watched, edAnim))
            return edWeightKeyPress(static_cast<QKeyEvent *>(Event));
        if (Watched == Edit1)
            return Edit1KeyPress(static_cast<QKeyEvent *>(Event));
        break;
    case QEvent::KeyRelease:
        if (Watched == Edit1 || Watched == Edit2)
            return Edit1KeyUp(static_cast<QLineEdit *>(Watched), static_cast<QKeyEvent *>(Event));
        break;
    default:
        break;
    }
    return false;
}

void TForm1::RunGuarded(void (TForm1::*Handler)())
{
    RunHandler(this, [this, Handler] { (this->*Handler)(); });
}

void TForm1::Guarded(const std::function<void()> &Handler)
{
    RunHandler(this, Handler);
}

// ---------------------------------------------------------------------------
// Start-up, showing and closing

// A file named on the command line is opened as if picked in the dialog.
void TForm1::FormCreate(const QString &StartFile)
{
    RunHandler(this, [this, &StartFile] {
        QString path = StartFile;
        if (path.isEmpty()) {
            if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
                return;
            path = QDir::toNativeSeparators(OpenDialog1->selectedFiles().constFirst());
        }
        Edit3->setText(path);
        Document->Load(path, TLoadKind::Open);
    });
}

void TForm1::FormShow()
{
    raise();
    activateWindow();
}

// Edits are not dropped unasked; a value typed into the number box that has
// the focus counts as an edit, as it does for a save.
bool TForm1::FormCloseQuery()
{
    return Tools->Files->MayDropEdits();
}

void TForm1::FormClose()
{
    if (Pictures)
        Pictures->close();
    Document->Close();
}

void TForm1::BitBtn2Click()
{
    close();
}

void TForm1::BitBtn3Click()
{
    ShowAboutBox(this, VellArtReader1 && VellArtReader1->Ready() ? VellArtReader1->ArtSourceName() : QString());
}

// ---------------------------------------------------------------------------
// Following the document

void TForm1::FollowLoad(TLoadKind How)
{
    const TTileData *store = Document->Store();
    if (store && How != TLoadKind::Adopt) {
        Edit3->setText(store->GetFileName());
        Image1->clear();
        if (!VellArtReader1)
            CreateArtView(this);
        BindArtView(store->GetFileName());
    }
    if (How == TLoadKind::Open)
        List->ForgetScrollPlaces();
    ShowLayout(TileData());
    ShowTitle();
    List->Refill();
    List->Refilter();
    FollowSelection();
    if (store && How != TLoadKind::Adopt)
        TOpenWarnings::Show(this, *store);
}

// The window's title names the file, with Qt's mark of unsaved edits.
void TForm1::ShowTitle()
{
    const QString name = QFileInfo(Document->FileName()).fileName();
    const QString mode = Document->IsReadOnly() ? QStringLiteral(" (read-only)") : QString();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Quorvane") : name + mode + QStringLiteral("[*] - Quorvane"));
    setWindowModified(Document->IsModified());
}

// Changed tiles renew their lines; a change that may reach any tile
// rebuilds the list.
void TForm1::FollowTiles(TTileKind Kind, const std::vector<int> &Tiles)
{
    if (Kind != ShownKind())
        return;
    const int current = SelectedTile();
    if (Tiles.empty())
        RebuildList();
    else
        List->Renew(Tiles);
    // The boxes show every selected tile's values, "(mixed)" and the mixed
    // flags included, so a change to any of them shows, the current one or
    // not.
    const std::vector<int> &selected = Document->SelectedTiles();
    const auto isSelected = [&](int Tile) { return std::binary_search(selected.begin(), selected.end(), Tile); };
    if (current >= 0 && (Tiles.empty() || std::any_of(Tiles.begin(), Tiles.end(), isSelected)))
        RefreshTile();
}

void TForm1::RebuildList()
{
    List->Rebuild();
    SetSelection();
}

void TForm1::FollowSelection()
{
    List->RevealSelection();
    SetSelection();
    ShowTile();
    List->SayCount();
}

// Each list keeps its own selection and scroll place. The focus leaves the
// tile controls first: what a box holds goes into no tile of the other list.
void TForm1::FollowSection(TTileKind Kind)
{
    LeaveTileControls();
    GroupBox2->setEnabled(Kind == TTileKind::Item);
    Tools->Sections->LandFields->setEnabled(Kind == TTileKind::Land);
    if (!List->SwitchSection(Kind))
        FollowSelection();
}

void TForm1::LeaveTileControls()
{
    QWidget *focus = QApplication::focusWidget();
    for (QWidget *group : {GroupBox1, GroupBox2, GroupBox3}) {
        if (focus && group->isAncestorOf(focus))
            return ListBox1->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::FilterChanged()
{
    if (List->FollowFilter())
        return;
    SetSelection();
    List->CenterCurrent();
}

// ---------------------------------------------------------------------------
// The list and its selection

TTileKind TForm1::ShownKind() const
{
    return Document->Section();
}

int TForm1::SelectedTile() const
{
    return Document->CurrentTile();
}

// Without a store or a selected tile there is no tile to act on.
bool TForm1::HasSelectedTile() const
{
    return TileData() && SelectedTile() >= 0;
}

void TForm1::SetSelection()
{
    List->ShowSelection();
    // A tile whose record the file does not wholly hold shows its values
    // greyed out and takes no edit.
    EnableTileControls(Document->HasEditableTiles(), Tools->Sections->TextureBox);
}

void TForm1::ListBox1Click()
{
    TViewSelection::Take(*ListBox1, *ListModel, *Document);
}

// Every control shows the current tile: its name, numbers, flags and
// picture, and the Global group offers to replace its name.
void TForm1::ShowTile()
{
    if (!HasSelectedTile())
        return ShowNoTile();
    const int tile = SelectedTile();
    TileShown = false;
    ShownName = TileData()->GetName(ShownKind(), tile);
    Edit1->setText(ShownName);
    Document->ForgetPendingName();
    Label2->setText(Edit1->text());
    Edit2->clear();
    DrawTilePicture(ShownKind(), tile);
    ShowValues();
}

// With no tile selected in the list shown, the boxes show none either.
void TForm1::ShowNoTile()
{
    TileShown = false;
    ShowFlags(0);
    for (QLineEdit *box : {Edit1, Edit2})
        box->clear();
    // The "(mixed)" of a selection of many goes too.
    for (const auto &entry : Values->Boxes()) {
        entry.first->clear();
        entry.first->setPlaceholderText(QString());
    }
    ShownName.clear();
    Label2->clear();
    Image1->clear();
}

void TForm1::RefreshTile()
{
    const QString name = TileData()->GetName(ShownKind(), SelectedTile());
    TileShown = false;
    if (name != ShownName) {
        ShownName = name;
        Edit1->setText(name);
        Document->ForgetPendingName();
    }
    ShowValues();
}

// Boxes of the other section are emptied, as well as greyed out.
// The numbers and flags of the selected tiles the file holds, the ones an
// edit changes: a tile beyond a short file's end has none, and counted as
// all clear it would make a flag that every other tile has look mixed. The
// flags word is the current tile's.
void TForm1::ShowValues()
{
    std::vector<int> tiles = Document->EditableTiles();
    if (tiles.empty())
        tiles = Document->SelectedTiles();
    ShowNumbers(*TileData(), ShownKind(), tiles, Tools->Sections->TextureBox);
    ShowFlagStates(*TileData(), ShownKind(), tiles);
    CurrentFlags = TileData()->GetFlags(ShownKind(), SelectedTile());
    TileShown = true;
}

void TForm1::ShowFlags(std::uint64_t Flags)
{
    CurrentFlags = Flags;
    for (std::size_t bit = 0; bit < FlagBoxes.size(); ++bit) {
        FlagBoxes[bit]->setTristate(false);
        FlagBoxes[bit]->setChecked((Flags >> bit) & 1u);
    }
}

// Keys that move through the list stay with it; any other key sends the
// user to the rename box.
bool TForm1::ListBox1KeyDown(QKeyEvent *Key)
{
    if (Key->matches(QKeySequence::SelectAll))
        return false;
    switch (Key->key()) {
    case Qt::Key_Control:
    case Qt::Key_Shift: // with the arrows, for a range
    case Qt::Key_Alt:
    case Qt::Key_AltGr: // Ctrl and Alt together on keyboards that have it
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_F4:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        // While nothing is selected the rename box is disabled, and the key
        // goes nowhere. A character typed goes into the box, as the first of
        // the new name; Return and the like only move there.
        if (Edit1->isEnabled()) {
            Edit1->setFocus(Qt::OtherFocusReason);
            const bool chord = Key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!chord && !Key->text().isEmpty() && Key->text().front().isPrint()) {
                const std::unique_ptr<QKeyEvent> typed(Key->clone());
                QCoreApplication::sendEvent(Edit1, typed.get());
            }
        }
        return true;
    }
}

// ---------------------------------------------------------------------------
// Flags and number boxes

// A partly checked box becomes checked on the first click.
void TForm1::FlagClick(QCheckBox *Box, int Bit)
{
    if (!TileShown || !Document->HasEditableTiles())
        return;
    const bool set = Box->checkState() != Qt::Unchecked;
    const std::uint64_t mask = std::uint64_t(1) << Bit;
    CurrentFlags = set ? CurrentFlags | mask : CurrentFlags & ~mask;
    Document->SetFlag(Bit, set);
}

void TForm1::edWeightExit() { Values->Commit(edWeight, TTileField::Weight); }
void TForm1::edQualityExit() { Values->Commit(edQuality, TTileField::Quality); }
void TForm1::edHeightExit() { Values->Commit(edHeight, TTileField::Height); }
void TForm1::edQuantityExit() { Values->Commit(edQuantity, TTileField::Quantity); }
void TForm1::edHueExit() { Values->Commit(edHue, TTileField::Hue); }
void TForm1::edAnimExit() { Values->Commit(edAnim, TTileField::Anim); }
void TForm1::edUnknown0Exit() { Values->Commit(edUnknown0, TTileField::Unknown0); }
void TForm1::edUnknown1Exit() { Values->Commit(edUnknown1, TTileField::Unknown1); }
void TForm1::edunknown2Exit() { Values->Commit(edunknown2, TTileField::Unknown2); }
void TForm1::edUnknown3Exit() { Values->Commit(edUnknown3, TTileField::Unknown3); }
void TForm1::edUnknown4Exit() { Values->Commit(edUnknown4, TTileField::Unknown4); }
void TForm1::edTextureExit() { Values->Commit(Tools->Sections->TextureBox, TTileField::Texture); }

// The key filter of the decimal boxes: digits only. Enter moves on as Tab
// does, and that focus change commits the box. Shortcuts (Ctrl+...) and keys
// that type no character, such as Delete and the arrows, keep working.
bool TForm1::edWeightKeyPress(QKeyEvent *Key)
{
    if (Key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (Key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextPrevChild(true);
        return true;
    case Qt::Key_Backspace:
        return true;
    default:
        break;
    }
    const QString text = Key->text();
    if (text.isEmpty() || !text.front().isPrint())
        return false;
    const bool digit = text.size() == 1 && text.front() >= QLatin1Char('0') && text.front() <= QLatin1Char('9');
    return !digit;
}

// ---------------------------------------------------------------------------
// Names

bool TForm1::Edit1KeyPress(QKeyEvent *Key)
{
    if (Key->key() != Qt::Key_Return && Key->key() != Qt::Key_Enter)
        return false;
    RenameSelectedTile();
    return true;
}

void TForm1::Button2Click()
{
    RenameSelectedTile();
}

// The line shows the bare new name until the list is rebuilt; the Global
// group keeps offering the name the tile had when it was selected.
void TForm1::RenameSelectedTile()
{
    if (!Document->HasEditableTiles())
        return;
    const int tile = SelectedTile();
    const QString line = ListModel->Line(ListModel->RowOf(tile));
    const QString name = Edit1->text();
    const std::size_t count = Document->SelectedTiles().size();
    if (count > 1 && !AskRenameTiles(this, int(count), name))
        return;
    Document->Rename(name);
    Document->ForgetPendingName();
    if (count == 1) {
        StatusBar1->showMessage(QStringLiteral("updated ") + line + QStringLiteral(" to ") + name);
        ListModel->ReplaceLine(tile, TileData()->GetName(ShownKind(), tile));
    }
    ListBox1->setFocus();
}

// Page Up, Page Down, Up and Down in a name box step through the list as if
// pressed there, and leave the new tile's text selected for typing over.
bool TForm1::Edit1KeyUp(QLineEdit *Box, QKeyEvent *Key)
{
    switch (Key->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return false;
    }
    // Holding the key down moves the list by one step only.
    if (Key->isAutoRepeat())
        return true;
    QKeyEvent press(QEvent::KeyPress, Key->key(), Key->modifiers());
    QCoreApplication::sendEvent(ListBox1, &press);
    QKeyEvent release(QEvent::KeyRelease, Key->key(), Key->modifiers());
    QCoreApplication::sendEvent(ListBox1, &release);
    Box->selectAll();
    return true;
}

// Every line is rebuilt, in its full form.
void TForm1::Button1Click()
{
    if (!TileData())
        return;
    const QString oldName = Label2->text();
    const QString newName = Edit2->text();
    if (oldName.isEmpty() || newName.isEmpty()) {
        StatusBar1->showMessage(QStringLiteral("Couldn't replace with one thing empty"));
        return;
    }
    Document->ReplaceName(oldName, newName);
    StatusBar1->showMessage(Tools->ReplacedText(oldName, newName));
    RebuildList();
    Edit2->setFocus();
}

// Selects the first tile whose name contains the text and shows it, as if
// the user had selected it: the controls must never show one tile while
// their edits go into another. A miss leaves no line selected.
void TForm1::Button5Click()
{
    if (TileData())
        Tools->Find();
}

// ---------------------------------------------------------------------------
// Saving and loading

// Writes what the window shows: a value typed into the number box that has
// the focus goes into the tile first, as leaving the box would (a save by
// its accelerator key leaves the focus where it is). A value that does not
// convert stops the save. A save that does not happen, for whatever reason,
// takes away the word of an earlier one.
void TForm1::BitBtn1Click()
{
    if (!TileData())
        return;
    ForgetSavedStatus();
    Tools->Files->SaveEdits();
}

void TForm1::ForgetSavedStatus()
{
    if (StatusBar1->currentMessage() == SavedStatus)
        StatusBar1->clearMessage();
}

void TForm1::Button4Click()
{
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        Edit3->setText(QDir::toNativeSeparators(OpenDialog1->selectedFiles().constFirst()));
}

// Loads the file named in Edit3 in place of the current one, as at start-up:
// every line listed, none selected. When it fails there is no store at all,
// never one whose records were not read.
void TForm1::Button3Click()
{
    Document->Close();
    Document->Load(Edit3->text(), TLoadKind::Open);
}

