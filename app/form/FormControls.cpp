#include "app/form/FormControls.h"

#include "app/document/TileField.h"
#include "app/form/CompletionGuard.h"
#include "app/form/UpperFlagBoxes.h"
#include "app/list/ListBox.h"
#include "app/list/ListLineDelegate.h"
#include "app/list/TileListModel.h"
#include "app/pictures/NoPicture.h"

#include "art/ArtPaths.h"
#include "art/ArtDecoder.h"
#include "art/PictureCache.h"
#include "art/VellArtReader.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"
#include "tiledata/TileRecord.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int EditHeight = 21;
constexpr int CheckBoxHeight = 17;
constexpr int FontPoints = 8;

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

struct NumberField
{
    QLineEdit *TFormControls::*Box;
    const char *Name;
    const char *LabelName;
    const char *Caption;
    QPoint LabelAt;
    QRect Geometry;
};

struct FlagField
{
    QCheckBox *TFormControls::*Box;
    const char *Name;
    QPoint At;
};

} // namespace

TFormControls::TFormControls() = default;

TFormControls::~TFormControls() = default;

// The form's pixel positions leave room for a narrow 8-point face; common
// sans-serif faces run wider, so ask for their semi-condensed cut (the
// font engine narrows the face itself when there is none).
QFont TFormControls::SansFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(FontPoints);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QFont TFormControls::FixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(FontPoints);
    return font;
}

void TFormControls::BuildControls(QWidget *Form, std::function<const TTileData *()> Store)
{
    CreateTopLevelControls(Form, std::move(Store));
    CreatePictureButtons(Form);
    CreateHiddenRow(Form);
    CreateOneTileGroup();
    CreateGlobalGroup();
    CreatePropertiesGroup();
    CreateFlagsGroup();
    CreateOpenDialog();
}

void TFormControls::CreateTopLevelControls(QWidget *Form, std::function<const TTileData *()> Store)
{
    ListBox1 = Named(new TListBox(Form), "ListBox1");
    ListBox1->setFont(FixedFont());
    ListBox1->setUniformItemSizes(true);
    ListModel = new TTileListModel(TTileKind::Item, ListBox1);
    ListModel->SetStore(std::move(Store));
    ListBox1->setModel(ListModel);
    ListBox1->setItemDelegate(new TListLineDelegate(ListBox1));
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setTextElideMode(Qt::ElideNone);

    StatusBar1 = Named(new QStatusBar(Form), "StatusBar1");
    LayoutField = Named(new QLabel(StatusBar1), "LayoutField");
    StatusBar1->addPermanentWidget(LayoutField);
    StatusBar1->setSizeGripEnabled(true);

    GroupBox3 = Named(new QGroupBox(QStringLiteral("One Tile"), Form), "GroupBox3");
    GroupBox3->setGeometry(224, 8, 225, 73);
    GroupBox4 = Named(new QGroupBox(QStringLiteral("Global"), Form), "GroupBox4");
    GroupBox4->setGeometry(224, 80, 225, 97);
    GroupBox2 = Named(new QGroupBox(QStringLiteral("Properties"), Form), "GroupBox2");
    GroupBox2->setGeometry(456, 8, 249, 169);
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Tileflags"), Form), "GroupBox1");
    GroupBox1->setGeometry(456, 184, 249, 293);

    Panel1 = Named(new QFrame(Form), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(224, 192, 217, 233);
    Image1 = Named(new QLabel(Panel1), "Image1");
    Image1->setGeometry(1, 1, 215, 231);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    CreateArtView(Form);
}

void TFormControls::CreateArtView(QWidget *Form)
{
    VellArtReader1 = std::make_unique<TVellArtReader>(Form);
    VellArtReader1->setObjectName(QStringLiteral("VellArtReader1"));
    VellArtReader1->hide();
    VellArtReader1->setGeometry(216, 160, 25, 25);
    VellArtReader1->SetArtIndex(0);
    VellArtReader1->SetCanStretch(true);
}

void TFormControls::CreatePictureButtons(QWidget *Form)
{
    BitBtn3 = NewButton(Form, "BitBtn3", QStringLiteral("About"), QRect(376, 488, 75, 25));
    BitBtn3->setIcon(Form->style()->standardIcon(QStyle::SP_MessageBoxInformation));
    Button5 = NewButton(Form, "Button5", QStringLiteral("Find..."), QRect(464, 488, 75, 25));
    BitBtn1 = NewButton(Form, "BitBtn1", QStringLiteral("&Save"), QRect(544, 488, 75, 25));
    BitBtn1->setIcon(Form->style()->standardIcon(QStyle::SP_DialogSaveButton));
    BitBtn2 = NewButton(Form, "BitBtn2", QStringLiteral("&Close"), QRect(624, 488, 75, 25));
    BitBtn2->setIcon(Form->style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (QPushButton *button : {BitBtn1, BitBtn2, BitBtn3})
        button->setIconSize(QSize(16, 16));
}

// A row for choosing and loading another file. It is never shown.
void TFormControls::CreateHiddenRow(QWidget *Form)
{
    Label5 = NewLabel(Form, "Label5", QStringLiteral("Tiledata:"), 224, 8);
    Edit3 = NewEdit(Form, "Edit3", QRect(272, 8, 121, EditHeight));
    Button4 = NewButton(Form, "Button4", QStringLiteral("..."), QRect(392, 8, 19, 19));
    Button3 = NewButton(Form, "Button3", QStringLiteral("load"), QRect(417, 7, 36, 19));
    for (QWidget *widget : {static_cast<QWidget *>(Label5), static_cast<QWidget *>(Edit3),
                            static_cast<QWidget *>(Button4), static_cast<QWidget *>(Button3)})
        widget->hide();
}

void TFormControls::CreateOneTileGroup()
{
    Label4 = NewLabel(GroupBox3, "Label4", QStringLiteral("Rename &To"), 16, 16);
    Edit1 = NewNameBox(GroupBox3, "Edit1", QRect(96, 16, 121, EditHeight), Label4);
    Button2 = NewButton(GroupBox3, "Button2", QStringLiteral("Rename"), QRect(128, 40, 89, 25));
}

void TFormControls::CreateGlobalGroup()
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

void TFormControls::CreatePropertiesGroup()
{
    // In the order of their fields.
    static const NumberField Fields[] = {
        {&TFormControls::edWeight, "edWeight", "Label6", "Weight:", {8, 19}, {80, 16, 33, EditHeight}},
        {&TFormControls::edQuality, "edQuality", "Label7", "Quality/Layer", {8, 43}, {80, 40, 33, EditHeight}},
        {&TFormControls::edHeight, "edHeight", "Label8", "Height", {8, 67}, {80, 64, 33, EditHeight}},
        {&TFormControls::edQuantity, "edQuantity", "Label13", "Quantity", {8, 91}, {80, 88, 33, EditHeight}},
        {&TFormControls::edHue, "edHue", "Label9", "Hue", {8, 115}, {80, 112, 33, EditHeight}},
        {&TFormControls::edAnim, "edAnim", "Label12", "AnimID", {10, 140}, {80, 136, 49, EditHeight}},
        {&TFormControls::edUnknown0, "edUnknown0", "Label15", "Unknown0", {136, 19}, {208, 16, 33, EditHeight}},
        {&TFormControls::edUnknown1, "edUnknown1", "Label14", "Unknown1", {136, 43}, {208, 40, 33, EditHeight}},
        {&TFormControls::edunknown2, "edunknown2", "Label11", "Unknown2", {136, 67}, {208, 64, 33, EditHeight}},
        {&TFormControls::edUnknown3, "edUnknown3", "Label10", "Unknown3", {136, 91}, {208, 88, 33, EditHeight}},
        {&TFormControls::edUnknown4, "edUnknown4", "Label16", "Unknown4", {136, 115}, {208, 112, 33, EditHeight}},
    };
    for (const NumberField &field : Fields) {
        NewLabel(GroupBox2, field.LabelName, QLatin1String(field.Caption), field.LabelAt.x(), field.LabelAt.y());
        QLineEdit *box = NewEdit(GroupBox2, field.Name, field.Geometry);
        box->setFont(FixedFont());
        box->setText(QStringLiteral("0"));
        this->*field.Box = box;
        NumberBoxes[std::size_t(&field - Fields)] = box;
    }
    edAnim->clear();
    QFont bold = FixedFont();
    bold.setBold(true);
    NewLabel(GroupBox2, "Label17", QStringLiteral("0x"), 59, 140)->setFont(bold);
}

void TFormControls::CreateFlagsGroup()
{
    // Bit k of the flags word is entry k.
    static const FlagField Fields[] = {
        {&TFormControls::cbBackground, "cbBackground", {8, 16}},
        {&TFormControls::cbWeapon, "cbWeapon", {8, 32}},
        {&TFormControls::cbTransparent, "cbTransparent", {8, 48}},
        {&TFormControls::cbTranslucent, "cbTranslucent", {8, 64}},
        {&TFormControls::cbWall, "cbWall", {8, 80}},
        {&TFormControls::cbDamaging, "cbDamaging", {8, 96}},
        {&TFormControls::cbImpassable, "cbImpassable", {8, 112}},
        {&TFormControls::cbWet, "cbWet", {8, 128}},
        {&TFormControls::cbUnknown1, "cbUnknown1", {144, 16}},
        {&TFormControls::cbSurface, "cbSurface", {144, 32}},
        {&TFormControls::cbBridge, "cbBridge", {144, 48}},
        {&TFormControls::cbGeneric, "cbGeneric", {144, 64}},
        {&TFormControls::cbWindow, "cbWindow", {144, 80}},
        {&TFormControls::cbNoShoot, "cbNoShoot", {144, 96}},
        {&TFormControls::cbPrefixA, "cbPrefixA", {144, 112}},
        {&TFormControls::cbPrefixAN, "cbPrefixAN", {144, 128}},
        {&TFormControls::cbMongen, "cbMongen", {8, 160}},
        {&TFormControls::cbFoliage, "cbFoliage", {8, 176}},
        {&TFormControls::cbPartialhue, "cbPartialhue", {8, 192}},
        {&TFormControls::cbUnknown2, "cbUnknown2", {8, 208}},
        {&TFormControls::cbMap, "cbMap", {8, 224}},
        {&TFormControls::cbContainer, "cbContainer", {8, 240}},
        {&TFormControls::cbWearable, "cbWearable", {8, 256}},
        {&TFormControls::cbLightsource, "cbLightsource", {8, 272}},
        {&TFormControls::cbAnimated, "cbAnimated", {144, 160}},
        {&TFormControls::cbnodiagonal, "cbnodiagonal", {144, 176}},
        {&TFormControls::cbUnknown3, "cbUnknown3", {144, 192}},
        {&TFormControls::cbArmor, "cbArmor", {144, 208}},
        {&TFormControls::cbRoof, "cbRoof", {144, 224}},
        {&TFormControls::cbDoor, "cbDoor", {144, 240}},
        // "StairRight" (bit 31) stands above "Stairsback" (bit 30).
        {&TFormControls::cbStairsback, "cbStairsback", {144, 272}},
        {&TFormControls::cbStairRight, "cbStairRight", {144, 256}},
    };
    static_assert(std::size(Fields) == 32, "one box per bit");
    for (std::size_t bit = 0; bit < std::size(Fields); ++bit) {
        const FlagField &field = Fields[bit];
        auto *box = Named(new QCheckBox(QLatin1String(FlagCaption(int(bit))), GroupBox1), field.Name);
        box->setGeometry(field.At.x(), field.At.y(), bit == 0 ? 81 : 97, CheckBoxHeight);
        this->*field.Box = box;
        FlagBoxes[bit] = box;
    }
    std::array<QCheckBox *, 32> lower{};
    std::copy_n(FlagBoxes.begin(), lower.size(), lower.begin());
    UpperFlags = new TUpperFlagBoxes(GroupBox1, lower);
    for (int k = 0; k < 32; ++k)
        FlagBoxes[std::size_t(32 + k)] = UpperFlags->Box(k);
}

void TFormControls::CreateOpenDialog()
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
    new TCompletionGuard(OpenDialog1.get());
}

void TFormControls::SetFormTabOrder()
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

void TFormControls::BindArtView(const QString &Path)
{
    if (!VellArtReader1)
        return;
    const QString directory = DirectoryPart(Path);
    if (TVellArtReader::HasArtIn(directory))
        VellArtReader1->SetArtMulPath(directory);
    else
        VellArtReader1.reset();
}

void TFormControls::DrawTilePicture(TTileKind Kind, int Tile)
{
    if (!VellArtReader1)
        return;
    if (TPictureCache *pictures = VellArtReader1->Pictures()) {
        const TPicture picture = Kind == TTileKind::Land ? pictures->Land(Tile) : pictures->Item(Tile);
        // A tile the grid shows without a picture shows so here too: an
        // entry beyond the art's index, or one that cannot be drawn, leaves
        // neither the picture before on view nor a white box of its size.
        if (picture.Missing) {
            Image1Bitmap = QImage();
            TArtDecoder::MakeBlank(Image1Bitmap);
            Image1->setPixmap(NoPicture(NoPictureSide));
            return;
        }
        // The picture control shows its bitmap as drawn, white fill and all.
        Image1Bitmap = picture.Image;
    }
    Image1->setPixmap(QPixmap::fromImage(Image1Bitmap));
}

// The layout is told where it is always in sight, and only a file that has
// bits 32 to 63 offers their boxes.
void TFormControls::ShowLayout(const TTileData *Store)
{
    LayoutField->setText(Store ? QString::fromStdString(Store->Layout().Description()) : QString());
    UpperFlags->SetAvailable(Store && Store->Layout().IsNewer());
}

std::vector<std::pair<QLineEdit *, TTileField>> TFormControls::FieldBoxes(QLineEdit *TextureBox) const
{
    std::vector<std::pair<QLineEdit *, TTileField>> boxes;
    for (std::size_t k = 0; k < NumberBoxes.size(); ++k)
        boxes.emplace_back(NumberBoxes[k], static_cast<TTileField>(k));
    boxes.emplace_back(TextureBox, TTileField::Texture);
    return boxes;
}

void TFormControls::ShowNumbers(const TTileData &Store, TTileKind Kind, const std::vector<int> &Tiles,
                                QLineEdit *TextureBox)
{
    for (const auto &[box, field] : FieldBoxes(TextureBox)) {
        // Set, not typed: an untouched box writes nothing when left.
        box->setText(QString());
        box->setPlaceholderText(QString());
        if (FieldKind(field) != Kind || Tiles.empty())
            continue;
        const int first = FieldValue(Store, field, Tiles.front());
        const bool shared = std::all_of(Tiles.begin(), Tiles.end(),
                                        [&](int Tile) { return FieldValue(Store, field, Tile) == first; });
        if (shared)
            box->setText(FieldText(field, first));
        else
            box->setPlaceholderText(QStringLiteral("(mixed)"));
    }
}

void TFormControls::ShowFlagStates(const TTileData &Store, TTileKind Kind, const std::vector<int> &Tiles)
{
    std::uint64_t all = ~std::uint64_t(0);
    std::uint64_t any = 0;
    for (const int tile : Tiles) {
        const std::uint64_t flags = Store.GetFlags(Kind, tile);
        all &= flags;
        any |= flags;
    }
    for (std::size_t bit = 0; bit < FlagBoxes.size(); ++bit) {
        const bool everyTile = (all >> bit) & 1u;
        const bool someTiles = (any >> bit) & 1u;
        FlagBoxes[bit]->setTristate(someTiles && !everyTile);
        FlagBoxes[bit]->setCheckState(everyTile ? Qt::Checked : someTiles ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

void TFormControls::EnableTileControls(bool Enabled, QLineEdit *TextureBox)
{
    if (Edit1->isEnabled() == Enabled)
        return;
    for (QWidget *control : {static_cast<QWidget *>(Edit1), static_cast<QWidget *>(Button2),
                             static_cast<QWidget *>(TextureBox)})
        control->setEnabled(Enabled);
    for (QLineEdit *box : NumberBoxes)
        box->setEnabled(Enabled);
    for (QCheckBox *box : FlagBoxes)
        box->setEnabled(Enabled);
}

void TFormControls::CenterOnScreen(QWidget *Form)
{
    if (const QScreen *display = Form->screen())
        Form->move(display->availableGeometry().center() - Form->rect().center());
}
