#include "app/Unit1.h"

#include "app/ClickDropper.h"
#include "app/EditorTools.h"
#include "app/ErrorBox.h"
#include "app/HexToInt.h"
#include "app/ListBox.h"
#include "app/ListLineDelegate.h"
#include "app/OpenWarnings.h"
#include "app/SaveQuestions.h"
#include "app/UpperFlagBoxes.h"
#include "app/TileListModel.h"
#include "app/TileSections.h"

#include "art/ArtIndexEntry.h"
#include "art/ArtPaths.h"
#include "art/VellArtReader.h"
#include "platform/FileSystem.h"
#include "platform/qt/IntegerText.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

TForm1 *Form1 = nullptr;

namespace {

constexpr int ClientWidth = 718;
constexpr int ClientHeight = 535;
constexpr int ListWidth = 209;
constexpr int StatusHeight = 19;
constexpr int EditHeight = 21;
constexpr int CheckBoxHeight = 17;
constexpr int FontPoints = 8;

QString SavedStatus()
{
    return QStringLiteral("Tiledata has been saved");
}

// The form's pixel positions leave room for a narrow 8-point face; common
// sans-serif faces run wider, so ask for their semi-condensed cut (the
// font engine narrows the face itself when there is none).
QFont SansFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(FontPoints);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QFont FixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(FontPoints);
    return font;
}

template <typename Widget>
Widget *Named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Labels size themselves to their text, as the toolkit's auto-sizing labels do.
QLabel *NewLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = Named(new QLabel(text, parent), name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit *NewEdit(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *edit = Named(new QLineEdit(parent), name);
    edit->setGeometry(geometry);
    return edit;
}

// A box for a tile name, which the name field limits to 20 characters; its
// label's accelerator focuses it.
QLineEdit *NewNameBox(QWidget *parent, const char *name, const QRect &geometry, QLabel *label)
{
    QLineEdit *edit = NewEdit(parent, name, geometry);
    edit->setMaxLength(NameLength);
    label->setBuddy(edit);
    return edit;
}

QPushButton *NewButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *button = Named(new QPushButton(text, parent), name);
    button->setGeometry(geometry);
    return button;
}

// A box loses the focus to another control of the window, not because the
// window as a whole was deactivated or a popup menu opened over the box.
bool IsExitReason(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

struct NumberField
{
    QLineEdit *TForm1::*Box;
    const char *Name;
    const char *LabelName;
    const char *Caption;
    QPoint LabelAt;
    QRect Geometry;
    void (TForm1::*Exit)();
};

struct FlagField
{
    QCheckBox *TForm1::*Box;
    const char *Name;
    QPoint At;
    void (TForm1::*Click)();
};

} // namespace

TForm1::TForm1(QWidget *Parent, const QString &StartFile)
    : QWidget(Parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setFont(SansFont());
    resize(ClientWidth, ClientHeight);
    CreateControls();
    // The picture is drawn into a 15-bit bitmap, as the art files store it.
    Image1Bitmap = QImage(0, 0, QImage::Format_RGB555);
    // A box that start-up shows is centred over the window, which is not
    // shown yet: put the window where it will appear first.
    CenterOnScreen();
    FormCreate(StartFile);
    Tools = new TEditorTools(*this);
}

TForm1::~TForm1()
{
    // The tools outlive this part of the window (they are its children), and
    // must not lay out controls of a window being taken apart.
    if (Tools)
        Tools->Detach();
}

// ---------------------------------------------------------------------------
// Building the window

void TForm1::CreateControls()
{
    CreateTopLevelControls();
    CreatePictureButtons();
    CreateHiddenRow();
    CreateOneTileGroup();
    CreateGlobalGroup();
    CreatePropertiesGroup();
    CreateFlagsGroup();
    CreateOpenDialog();
    SetTabOrder();
    ConnectHandlers();
    InstallKeyFilters();
    ClickDropper = new TClickDropper(this);
    // Nothing is selected yet.
    EnableTileControls(false);
}

void TForm1::CreateTopLevelControls()
{
    ListBox1 = Named(new TListBox(this), "ListBox1");
    ListBox1->setFont(FixedFont());
    ListBox1->setUniformItemSizes(true);
    ListModel = new TTileListModel(TTileKind::Item, ListBox1);
    ListModel->SetStore([this] { return TileData.get(); });
    ListBox1->setModel(ListModel);
    ListBox1->setItemDelegate(new TListLineDelegate(ListBox1));
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setTextElideMode(Qt::ElideNone);

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    LayoutField = Named(new QLabel(StatusBar1), "LayoutField");
    StatusBar1->addPermanentWidget(LayoutField);
    StatusBar1->setSizeGripEnabled(true);

    GroupBox3 = Named(new QGroupBox(QStringLiteral("One Tile"), this), "GroupBox3");
    GroupBox3->setGeometry(224, 8, 225, 73);
    GroupBox4 = Named(new QGroupBox(QStringLiteral("Global"), this), "GroupBox4");
    GroupBox4->setGeometry(224, 80, 225, 97);
    GroupBox2 = Named(new QGroupBox(QStringLiteral("Properties"), this), "GroupBox2");
    GroupBox2->setGeometry(456, 8, 249, 169);
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Tileflags"), this), "GroupBox1");
    GroupBox1->setGeometry(456, 184, 249, 293);

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(224, 192, 217, 233);
    Image1 = Named(new QLabel(Panel1), "Image1");
    Image1->setGeometry(1, 1, 215, 231);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    CreateArtView();
}

// Kept only as the keeper of the art reader; never shown.
void TForm1::CreateArtView()
{
    VellArtReader1 = std::make_unique<TVellArtReader>(this);
    VellArtReader1->setObjectName(QStringLiteral("VellArtReader1"));
    VellArtReader1->hide();
    VellArtReader1->setGeometry(216, 160, 25, 25);
    VellArtReader1->SetArtIndex(0);
    VellArtReader1->SetCanStretch(true);
}

void TForm1::CreatePictureButtons()
{
    BitBtn3 = NewButton(this, "BitBtn3", QStringLiteral("About"), QRect(376, 488, 75, 25));
    BitBtn3->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    Button5 = NewButton(this, "Button5", QStringLiteral("Find..."), QRect(464, 488, 75, 25));
    BitBtn1 = NewButton(this, "BitBtn1", QStringLiteral("&Save"), QRect(544, 488, 75, 25));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    BitBtn2 = NewButton(this, "BitBtn2", QStringLiteral("&Close"), QRect(624, 488, 75, 25));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (QPushButton *button : {BitBtn1, BitBtn2, BitBtn3})
        button->setIconSize(QSize(16, 16));
}

// A row for choosing and loading another file. It is never shown.
void TForm1::CreateHiddenRow()
{
    Label5 = NewLabel(this, "Label5", QStringLiteral("Tiledata:"), 224, 8);
    Edit3 = NewEdit(this, "Edit3", QRect(272, 8, 121, EditHeight));
    Button4 = NewButton(this, "Button4", QStringLiteral("..."), QRect(392, 8, 19, 19));
    Button3 = NewButton(this, "Button3", QStringLiteral("load"), QRect(417, 7, 36, 19));
    for (QWidget *widget : {static_cast<QWidget *>(Label5), static_cast<QWidget *>(Edit3),
                            static_cast<QWidget *>(Button4), static_cast<QWidget *>(Button3)})
        widget->hide();
}

void TForm1::CreateOneTileGroup()
{
    Label4 = NewLabel(GroupBox3, "Label4", QStringLiteral("Rename &To"), 16, 16);
    Edit1 = NewNameBox(GroupBox3, "Edit1", QRect(96, 16, 121, EditHeight), Label4);
    Button2 = NewButton(GroupBox3, "Button2", QStringLiteral("Rename"), QRect(128, 40, 89, 25));
}

void TForm1::CreateGlobalGroup()
{
    Label1 = NewLabel(GroupBox4, "Label1", QStringLiteral("Replace this:"), 8, 16);
    Label2 = NewLabel(GroupBox4, "Label2", QString(), 88, 16);
    // Tile names are shown as they are, never as markup.
    Label2->setTextFormat(Qt::PlainText);
    Label2->resize(GroupBox4->width() - 88 - 8, Label1->height());
    Label3 = NewLabel(GroupBox4, "Label3", QStringLiteral("&With"), 8, 40);
    Edit2 = NewNameBox(GroupBox4, "Edit2", QRect(88, 32, 121, EditHeight), Label3);
    Button1 = NewButton(GroupBox4, "Button1", QStringLiteral("Global &Replace"), QRect(120, 64, 89, 25));
}

void TForm1::CreatePropertiesGroup()
{
    static const NumberField Fields[] = {
        {&TForm1::edWeight, "edWeight", "Label6", "Weight:", {8, 19}, {80, 16, 33, EditHeight}, &TForm1::edWeightExit},
        {&TForm1::edQuality, "edQuality", "Label7", "Quality/Layer", {8, 43}, {80, 40, 33, EditHeight}, &TForm1::edQualityExit},
        {&TForm1::edHeight, "edHeight", "Label8", "Height", {8, 67}, {80, 64, 33, EditHeight}, &TForm1::edHeightExit},
        {&TForm1::edQuantity, "edQuantity", "Label13", "Quantity", {8, 91}, {80, 88, 33, EditHeight}, &TForm1::edQuantityExit},
        {&TForm1::edHue, "edHue", "Label9", "Hue", {8, 115}, {80, 112, 33, EditHeight}, &TForm1::edHueExit},
        {&TForm1::edAnim, "edAnim", "Label12", "AnimID", {10, 140}, {80, 136, 49, EditHeight}, &TForm1::edAnimExit},
        {&TForm1::edUnknown0, "edUnknown0", "Label15", "Unknown0", {136, 19}, {208, 16, 33, EditHeight}, &TForm1::edUnknown0Exit},
        {&TForm1::edUnknown1, "edUnknown1", "Label14", "Unknown1", {136, 43}, {208, 40, 33, EditHeight}, &TForm1::edUnknown1Exit},
        {&TForm1::edunknown2, "edunknown2", "Label11", "Unknown2", {136, 67}, {208, 64, 33, EditHeight}, &TForm1::edunknown2Exit},
        {&TForm1::edUnknown3, "edUnknown3", "Label10", "Unknown3", {136, 91}, {208, 88, 33, EditHeight}, &TForm1::edUnknown3Exit},
        {&TForm1::edUnknown4, "edUnknown4", "Label16", "Unknown4", {136, 115}, {208, 112, 33, EditHeight}, &TForm1::edUnknown4Exit},
    };
    for (const NumberField &field : Fields) {
        NewLabel(GroupBox2, field.LabelName, QLatin1String(field.Caption), field.LabelAt.x(), field.LabelAt.y());
        QLineEdit *box = NewEdit(GroupBox2, field.Name, field.Geometry);
        box->setFont(FixedFont());
        box->setText(QStringLiteral("0"));
        this->*field.Box = box;
        ExitHandlers.emplace_back(box, field.Exit);
    }
    edAnim->clear();
    QFont bold = FixedFont();
    bold.setBold(true);
    NewLabel(GroupBox2, "Label17", QStringLiteral("0x"), 59, 140)->setFont(bold);
}

void TForm1::CreateFlagsGroup()
{
    // Bit k of the flags word is entry k.
    static const FlagField Fields[] = {
        {&TForm1::cbBackground, "cbBackground", {8, 16}, &TForm1::cbBackgroundClick},
        {&TForm1::cbWeapon, "cbWeapon", {8, 32}, &TForm1::cbWeaponClick},
        {&TForm1::cbTransparent, "cbTransparent", {8, 48}, &TForm1::cbTransparentClick},
        {&TForm1::cbTranslucent, "cbTranslucent", {8, 64}, &TForm1::cbTranslucentClick},
        {&TForm1::cbWall, "cbWall", {8, 80}, &TForm1::cbWallClick},
        {&TForm1::cbDamaging, "cbDamaging", {8, 96}, &TForm1::cbDamagingClick},
        {&TForm1::cbImpassable, "cbImpassable", {8, 112}, &TForm1::cbImpassableClick},
        {&TForm1::cbWet, "cbWet", {8, 128}, &TForm1::cbWetClick},
        {&TForm1::cbUnknown1, "cbUnknown1", {144, 16}, &TForm1::cbUnknown1Click},
        {&TForm1::cbSurface, "cbSurface", {144, 32}, &TForm1::cbSurfaceClick},
        {&TForm1::cbBridge, "cbBridge", {144, 48}, &TForm1::cbBridgeClick},
        {&TForm1::cbGeneric, "cbGeneric", {144, 64}, &TForm1::cbGenericClick},
        {&TForm1::cbWindow, "cbWindow", {144, 80}, &TForm1::cbWindowClick},
        {&TForm1::cbNoShoot, "cbNoShoot", {144, 96}, &TForm1::cbNoShootClick},
        {&TForm1::cbPrefixA, "cbPrefixA", {144, 112}, &TForm1::cbPrefixAClick},
        {&TForm1::cbPrefixAN, "cbPrefixAN", {144, 128}, &TForm1::cbPrefixANClick},
        {&TForm1::cbMongen, "cbMongen", {8, 160}, &TForm1::cbMongenClick},
        {&TForm1::cbFoliage, "cbFoliage", {8, 176}, &TForm1::cbFoliageClick},
        {&TForm1::cbPartialhue, "cbPartialhue", {8, 192}, &TForm1::cbPartialhueClick},
        {&TForm1::cbUnknown2, "cbUnknown2", {8, 208}, &TForm1::cbUnknown2Click},
        {&TForm1::cbMap, "cbMap", {8, 224}, &TForm1::cbMapClick},
        {&TForm1::cbContainer, "cbContainer", {8, 240}, &TForm1::cbContainerClick},
        {&TForm1::cbWearable, "cbWearable", {8, 256}, &TForm1::cbWearableClick},
        {&TForm1::cbLightsource, "cbLightsource", {8, 272}, &TForm1::cbLightsourceClick},
        {&TForm1::cbAnimated, "cbAnimated", {144, 160}, &TForm1::cbAnimatedClick},
        {&TForm1::cbnodiagonal, "cbnodiagonal", {144, 176}, &TForm1::cbnodiagonalClick},
        {&TForm1::cbUnknown3, "cbUnknown3", {144, 192}, &TForm1::cbUnknown3Click},
        {&TForm1::cbArmor, "cbArmor", {144, 208}, &TForm1::cbArmorClick},
        {&TForm1::cbRoof, "cbRoof", {144, 224}, &TForm1::cbRoofClick},
        {&TForm1::cbDoor, "cbDoor", {144, 240}, &TForm1::cbDoorClick},
        // "StairRight" (bit 31) stands above "Stairsback" (bit 30).
        {&TForm1::cbStairsback, "cbStairsback", {144, 272}, &TForm1::cbStairsbackClick},
        {&TForm1::cbStairRight, "cbStairRight", {144, 256}, &TForm1::cbStairRightClick},
    };
    static_assert(std::size(Fields) == 32, "one box per bit");
    for (std::size_t bit = 0; bit < std::size(Fields); ++bit) {
        const FlagField &field = Fields[bit];
        auto *box = Named(new QCheckBox(QLatin1String(FlagCaption(int(bit))), GroupBox1), field.Name);
        box->setGeometry(field.At.x(), field.At.y(), bit == 0 ? 81 : 97, CheckBoxHeight);
        this->*field.Box = box;
        FlagBoxes[bit] = box;
        const auto click = field.Click;
        connect(box, &QCheckBox::toggled, this, [this, click] { RunGuarded(click); });
    }
    std::array<QCheckBox *, 32> lower{};
    std::copy_n(FlagBoxes.begin(), lower.size(), lower.begin());
    UpperFlags = new TUpperFlagBoxes(GroupBox1, lower);
    for (int k = 0; k < 32; ++k) {
        QCheckBox *box = UpperFlags->Box(k);
        FlagBoxes[std::size_t(32 + k)] = box;
        connect(box, &QCheckBox::toggled, this, [this, box, k] { RunHandler(this, [&] { FlagClick(box, 32 + k); }); });
    }
}

void TForm1::CreateOpenDialog()
{
    OpenDialog1 = std::make_unique<QFileDialog>(nullptr, QStringLiteral("Choose Tiledata"));
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed; one that cannot be opened is reported when the
    // file is read.
    OpenDialog1->setFileMode(QFileDialog::AnyFile);
    OpenDialog1->setNameFilters({QStringLiteral("Mul Filez (*.mul)"), QStringLiteral("all Filez (*)")});
    OpenDialog1->selectNameFilter(QStringLiteral("Mul Filez (*.mul)"));
    OpenDialog1->setDefaultSuffix(QStringLiteral("mul"));
    OpenDialog1->selectFile(QStringLiteral("tiledata.mul"));
}

void TForm1::SetTabOrder()
{
    // Group boxes and panels take no focus themselves; their controls stand
    // in their place. Hidden controls are skipped when the focus moves.
    std::vector<QWidget *> order = {ListBox1, VellArtReader1.get(), BitBtn1, Edit3, Button3, Button4, Button5};
    order.insert(order.end(), FlagBoxes.begin(), FlagBoxes.end());
    order.insert(order.end(), {BitBtn2, edWeight, edQuality, edHeight, edHue, edUnknown3, edunknown2, edAnim,
                               edQuantity, edUnknown1, edUnknown0, edUnknown4, Edit1, Button2, Edit2, Button1,
                               BitBtn3});
    for (std::size_t k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
}

void TForm1::ConnectHandlers()
{
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TForm1::ListSelectionChanged);
    connect(ListBox1, &QAbstractItemView::pressed, this, &TForm1::ListPressed);
    const std::pair<QPushButton *, void (TForm1::*)()> clicks[] = {
        {BitBtn1, &TForm1::BitBtn1Click}, {BitBtn2, &TForm1::BitBtn2Click}, {BitBtn3, &TForm1::BitBtn3Click},
        {Button1, &TForm1::Button1Click}, {Button2, &TForm1::Button2Click}, {Button3, &TForm1::Button3Click},
        {Button4, &TForm1::Button4Click}, {Button5, &TForm1::Button5Click},
    };
    for (const auto &[button, handler] : clicks) {
        const auto click = handler;
        connect(button, &QPushButton::clicked, this, [this, click] { RunGuarded(click); });
    }
}

void TForm1::InstallKeyFilters()
{
    ListBox1->installEventFilter(this);
    ListBox1->viewport()->installEventFilter(this);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    for (const auto &entry : ExitHandlers)
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
        CenterOnScreen();
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

void TForm1::CenterOnScreen()
{
    if (const QScreen *display = screen())
        move(display->availableGeometry().center() - rect().center());
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
        if (IsDecimalBox(Watched))
            return edWeightKeyPress(static_cast<QKeyEvent *>(Event));
        if (Watched == Edit1)
            return Edit1KeyPress(static_cast<QKeyEvent *>(Event));
        break;
    case QEvent::KeyRelease:
        if (Watched == Edit1 || Watched == Edit2)
            return Edit1KeyUp(static_cast<QLineEdit *>(Watched), static_cast<QKeyEvent *>(Event));
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(Event)->reason();
        if (!IsExitReason(reason))
            break;
        const bool towardsSave = QApplication::focusWidget() == BitBtn1;
        const bool committed = RunHandler(this, [&] { RunExitHandler(Watched); });
        // A click that took the focus away has been interrupted by the
        // error box: the user answered the box, not the control. Where it
        // was a click on Save, the save it asked for did not happen.
        if (!committed && reason == Qt::MouseFocusReason)
            ClickDropper->DropPendingClick();
        if (!committed && towardsSave)
            ForgetSavedStatus();
        break;
    }
    case QEvent::MouseButtonPress:
        if (Watched == ListBox1->viewport())
            SelectedBeforePress = SelectedTile();
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
        LoadStore(path);
        BindArtView(path);
    });
}

void TForm1::FormShow()
{
    raise();
    activateWindow();
}

// Edits are not dropped unasked. A value typed into the number box that has
// the focus counts as an edit, as it does for a save; one that does not
// convert keeps the window open. So does a name typed into the rename box
// and not yet confirmed, which Save confirms before it saves.
bool TForm1::FormCloseQuery()
{
    if (!TileData)
        return true;
    CommitFocusedNumberBox();
    const bool renamePending = IsRenamePending();
    if (!renamePending && !TileData->IsModified())
        return true;
    switch (AskSaveChanges(this, TileData->GetFileName())) {
    case QMessageBox::Save:
        if (renamePending)
            RenameSelectedTile();
        return SaveTileData();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TForm1::FormClose()
{
    TileData.reset();
}

void TForm1::BitBtn2Click()
{
    close();
}

void TForm1::BitBtn3Click()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                    QStringLiteral("Quorvane " QUORVANE_VERSION "\n"
                                   "An editor for the static tile data of the game.\n"
                                   "Built with C++ and Qt."),
                    QMessageBox::Ok, this);
    box.exec();
}

void TForm1::LoadStore(const QString &Path)
{
    // However the path came (dialog, command line, drop), the window and
    // its messages show it in the system's own separators.
    auto store = std::make_unique<TTileData>(QDir::toNativeSeparators(Path));
    QStringList lines;
    store->LoadTiles(lines);
    TileData = std::move(store);
    ReplaceListLines();
    ShowLayout();
    TOpenWarnings::Show(this, *TileData);
}

// The layout is told where it is always in sight, and only a file that has
// bits 32 to 63 offers their boxes.
void TForm1::ShowLayout()
{
    LayoutField->setText(QString::fromStdString(TileData->Layout().Description()));
    UpperFlags->SetAvailable(TileData->Layout().IsNewer());
}

// Points the art view at the tile data file's directory when the art lies
// there; otherwise the window does without pictures.
void TForm1::BindArtView(const QString &Path)
{
    if (!VellArtReader1)
        return;
    const QString directory = DirectoryPart(Path);
    if (FileSystem::FileExists(AnsiString::ToPath(directory + QStringLiteral("art.mul"))))
        VellArtReader1->SetArtMulPath(directory);
    else
        VellArtReader1.reset();
}

// ---------------------------------------------------------------------------
// The list and its selection

TTileKind TForm1::ShownKind() const
{
    return ListModel->Kind();
}

int TForm1::SelectedTile() const
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : ListModel->TileAt(selected.constFirst().row());
}

// Without a store or a selected line there is no tile to act on.
bool TForm1::HasSelectedTile() const
{
    return TileData && SelectedTile() >= 0;
}

// The list itself never lets the user clear its selection, so the program
// goes to the selection model directly.
void TForm1::SetSelection(int Tile)
{
    const int row = ListModel->RowOf(Tile);
    {
        const QScopedValueRollback<bool> byProgram(SelectingByProgram, true);
        QItemSelectionModel *selection = ListBox1->selectionModel();
        if (row >= 0)
            selection->setCurrentIndex(ListBox1->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
        else
            selection->clear();
    }
    EnableTileControls(HasSelectedTile());
}

void TForm1::ReplaceListLines(int Selected)
{
    {
        const QScopedValueRollback<bool> byProgram(SelectingByProgram, true);
        ListModel->Refill();
    }
    SetSelection(Selected);
}

void TForm1::ListSelectionChanged()
{
    if (SelectingByProgram)
        return;
    // A tile whose record the file does not wholly hold shows its values
    // greyed out and takes no edit, as if nothing were selected.
    EnableTileControls(HasSelectedTile() && TileData->IsWhole(ShownKind(), SelectedTile()));
    RunGuarded(&TForm1::ListBox1Click);
}

// The controls that edit one tile look editable only while a line is
// selected. Changed only when the selection really comes or goes: disabling
// the control that has the focus moves the focus, and with it commits a
// number box.
void TForm1::EnableTileControls(bool Enabled)
{
    if (Edit1->isEnabled() == Enabled)
        return;
    Edit1->setEnabled(Enabled);
    Button2->setEnabled(Enabled);
    for (const auto &entry : ExitHandlers)
        entry.first->setEnabled(Enabled);
    for (QCheckBox *box : FlagBoxes)
        box->setEnabled(Enabled);
}

// A click on the line that is already selected changes no selection but
// shows the tile again all the same.
void TForm1::ListPressed(const QModelIndex &Index)
{
    if (ListModel->TileAt(Index.row()) == SelectedBeforePress && SelectedBeforePress == SelectedTile())
        RunGuarded(&TForm1::ListBox1Click);
}

void TForm1::ListBox1Click()
{
    if (!HasSelectedTile())
        return;
    const int tile = SelectedTile();
    TileShown = false;
    for (QCheckBox *box : FlagBoxes)
        box->setChecked(false);
    Edit1->setText(TileData->GetName(ShownKind(), tile));
    FillNumberBoxes(tile);
    Label2->setText(Edit1->text());
    Edit2->clear();
    DrawTilePicture(tile);
    ShowFlags(TileData->GetFlags(ShownKind(), tile));
    TileShown = true;
}

void TForm1::FillNumberBoxes(int Tile)
{
    if (ShownKind() == TTileKind::Land)
        return Tools->Sections->FillLandBoxes(Tile);
    const TTileData &store = *TileData;
    edWeight->setText(QString::number(store.GetWeight(Tile)));
    edQuality->setText(QString::number(store.GetQuality(Tile)));
    edHeight->setText(QString::number(store.GetHeight(Tile)));
    edHue->setText(QString::number(store.GetHue(Tile)));
    edUnknown4->setText(QString::number(store.GetUnknown4(Tile)));
    edUnknown3->setText(QString::number(store.GetUnknown3(Tile)));
    edunknown2->setText(QString::number(store.GetUnknown2(Tile)));
    edUnknown1->setText(QString::number(store.GetUnknown1(Tile)));
    edUnknown0->setText(QString::number(store.GetUnknown0(Tile)));
    edAnim->setText(QString::number(store.GetAnim(Tile), 16).toUpper());
    edQuantity->setText(QString::number(store.GetQuantity(Tile)));
}

void TForm1::DrawTilePicture(int Tile)
{
    if (!VellArtReader1)
        return;
    QPoint size;
    if (ShownKind() == TTileKind::Land)
        VellArtReader1->DrawLandArt(Tile, Image1Bitmap, size);
    else
        VellArtReader1->DrawArt(Tile + int(StaticArtBase), Image1Bitmap, size);
    Image1->setPixmap(QPixmap::fromImage(Image1Bitmap));
}

void TForm1::ShowFlags(std::uint64_t Flags)
{
    CurrentFlags = Flags;
    for (std::size_t bit = 0; bit < FlagBoxes.size(); ++bit)
        FlagBoxes[bit]->setChecked((Flags >> bit) & 1u);
}

// Keys that move through the list stay with it; any other key sends the
// user to the rename box.
bool TForm1::ListBox1KeyDown(QKeyEvent *Key)
{
    switch (Key->key()) {
    case Qt::Key_Control:
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
        // goes nowhere.
        if (Edit1->isEnabled())
            Edit1->setFocus(Qt::OtherFocusReason);
        return true;
    }
}

// ---------------------------------------------------------------------------
// Flags and number boxes

void TForm1::FlagClick(QCheckBox *Box, int Bit)
{
    if (!TileShown || !HasSelectedTile())
        return;
    const std::uint64_t mask = std::uint64_t(1) << Bit;
    if (Box->isChecked())
        CurrentFlags |= mask;
    else
        CurrentFlags &= ~mask;
    const int tile = SelectedTile();
    Tools->Edit(std::make_unique<TFlagStep>(ShownKind(), tile, Bit, Box->isChecked()),
                [&] { TileData->SetFlags(ShownKind(), tile, CurrentFlags); });
}

void TForm1::CommitNumber(int Value, void (TTileData::*Setter)(int, int))
{
    // A box of the other section never writes into this list's tile.
    if (FieldKind(Setter) != ShownKind())
        return;
    const int tile = SelectedTile();
    Tools->Edit(std::make_unique<TNumberStep>(ShownKind(), tile, FieldName(Setter)),
                [&] { (TileData.get()->*Setter)(tile, Value); });
}

void TForm1::CommitDecimal(QLineEdit *Box, void (TTileData::*Setter)(int, int))
{
    if (!HasSelectedTile())
        return;
    CommitNumber(StrToInt(Box->text()), Setter);
}

void TForm1::edWeightExit() { CommitDecimal(edWeight, &TTileData::SetWeight); }
void TForm1::edQualityExit() { CommitDecimal(edQuality, &TTileData::SetQuality); }
void TForm1::edHeightExit() { CommitDecimal(edHeight, &TTileData::SetHeight); }
void TForm1::edQuantityExit() { CommitDecimal(edQuantity, &TTileData::SetQuantity); }
void TForm1::edHueExit() { CommitDecimal(edHue, &TTileData::SetHue); }
void TForm1::edUnknown0Exit() { CommitDecimal(edUnknown0, &TTileData::SetUnknown0); }
void TForm1::edUnknown1Exit() { CommitDecimal(edUnknown1, &TTileData::SetUnknown1); }
void TForm1::edunknown2Exit() { CommitDecimal(edunknown2, &TTileData::SetUnknown2); }
void TForm1::edUnknown3Exit() { CommitDecimal(edUnknown3, &TTileData::SetUnknown3); }
void TForm1::edUnknown4Exit() { CommitDecimal(edUnknown4, &TTileData::SetUnknown4); }
void TForm1::edTextureExit() { CommitDecimal(Tools->Sections->TextureBox, &TTileData::SetTexture); }

void TForm1::edAnimExit()
{
    if (!HasSelectedTile())
        return;
    CommitNumber(HexToInt(edAnim->text()), &TTileData::SetAnim);
}

void TForm1::RunExitHandler(QObject *Box)
{
    for (const auto &[box, handler] : ExitHandlers) {
        if (box == Box)
            (this->*handler)();
    }
}

bool TForm1::IsDecimalBox(QObject *Object) const
{
    if (Object == edAnim)
        return false;
    for (const auto &entry : ExitHandlers) {
        if (entry.first == Object)
            return true;
    }
    return false;
}

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
    if (!HasSelectedTile())
        return;
    const int tile = SelectedTile();
    const QString line = ListModel->Line(ListModel->RowOf(tile));
    Tools->Edit(std::make_unique<TRenameStep>(ShownKind(), tile),
                [&] { TileData->SetName(ShownKind(), tile, Edit1->text()); });
    StatusBar1->showMessage(QStringLiteral("updated ") + line + QStringLiteral(" to ") + Edit1->text());
    ListModel->ReplaceLine(tile, TileData->GetName(ShownKind(), tile));
    ListBox1->setFocus();
}

// Compared as the bytes a rename would store, so that a character the code
// page lacks, stored as '?', does not stay pending after the rename.
bool TForm1::IsRenamePending() const
{
    if (!TileShown || !HasSelectedTile())
        return false;
    return AnsiString::Encode(Edit1->text()) != AnsiString::Encode(TileData->GetName(ShownKind(), SelectedTile()));
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

void TForm1::Button1Click()
{
    if (!TileData)
        return;
    const QString oldName = Label2->text();
    const QString newName = Edit2->text();
    if (oldName.isEmpty() || newName.isEmpty()) {
        StatusBar1->showMessage(QStringLiteral("Couldn't replace with one thing empty"));
        return;
    }
    const int selected = SelectedTile();
    const int top = TopIndex();
    Tools->Edit(std::make_unique<TReplaceStep>(ShownKind(), oldName),
                [&] { TileData->ReplaceName(ShownKind(), oldName, newName); });
    StatusBar1->showMessage(Tools->ReplacedText(oldName, newName));
    {
        const QScopedValueRollback<bool> byProgram(SelectingByProgram, true);
        ListModel->Refill();
    }
    SetTopIndex(top);
    SetSelection(selected);
    Edit2->setFocus();
}

// Selects the first tile whose name contains the text and shows it, as if
// the user had selected it: the controls must never show one tile while
// their edits go into another. A miss leaves no line selected.
void TForm1::Button5Click()
{
    if (!TileData)
        return;
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Lookup Tilename"));
    dialog.setLabelText(QStringLiteral("Type full or partial name to find:"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    Tools->Found(dialog.textValue(), TileData->FindName(ShownKind(), dialog.textValue()));
}

int TForm1::TopIndex() const
{
    return ListBox1->indexAt(QPoint(0, 0)).row();
}

void TForm1::SetTopIndex(int Row)
{
    if (Row >= 0)
        ListBox1->scrollTo(ListBox1->model()->index(Row, 0), QAbstractItemView::PositionAtTop);
}

// ---------------------------------------------------------------------------
// Saving and loading

// Writes what the window shows: a value typed into the number box that has
// the focus goes into the tile first, as leaving the box would (a save by
// its accelerator key leaves the focus where it is). A value that does not
// convert stops the save.
void TForm1::BitBtn1Click()
{
    if (TileData)
        SaveTileData();
}

// False when the user chose not to overwrite another program's change. A
// save that does not happen, for whatever reason, takes away the word of an
// earlier one.
bool TForm1::SaveTileData()
{
    ForgetSavedStatus();
    CommitFocusedNumberBox();
    const int selected = SelectedTile();
    const QString path = TileData->GetFileName();
    if (!TileData->Save(
            [this, path](const TSaveConflicts &Conflicts) { return AskOverwriteChangedFile(this, path, Conflicts); }))
        return false;
    Tools->Saved();
    QStringList lines;
    TileData->LoadTiles(lines);
    ReplaceListLines(selected);
    StatusBar1->showMessage(SavedStatus());
    return true;
}

void TForm1::ForgetSavedStatus()
{
    if (StatusBar1->currentMessage() == SavedStatus())
        StatusBar1->clearMessage();
}

void TForm1::CommitFocusedNumberBox()
{
    RunExitHandler(focusWidget());
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
    TileData.reset();
    TileShown = false;
    ReplaceListLines();
    LoadStore(Edit3->text());
}
