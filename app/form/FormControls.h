#pragma once

#include "app/document/TileField.h"
#include "tiledata/TileKind.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QWidget;
class TListBox;
class TTileData;
class TTileListModel;
class TUpperFlagBoxes;
class TVellArtReader;

// The controls of the editor's window, built and placed by pixel as the form
// lays them out, in its 8-point faces. What they do is the window's.
class TFormControls
{
public:
    // Controls. All are owned by the window through Qt parenting, except the
    // art view, which start-up may destroy (held here so that the reference
    // really becomes empty then), and the open-file dialog.
    TListBox *ListBox1 = nullptr;
    TTileListModel *ListModel = nullptr; // the lines of ListBox1
    QStatusBar *StatusBar1 = nullptr;
    // The file's layout, "16,383 tiles · 32-bit flags", at the right of the status bar.
    QLabel *LayoutField = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    std::unique_ptr<TVellArtReader> VellArtReader1;
    // A window of its own, not a child of this one: its controls and their
    // accelerators must not count as the main window's.
    std::unique_ptr<QFileDialog> OpenDialog1;

    // The eleven number boxes of "Properties".
    QLineEdit *edWeight = nullptr;
    QLineEdit *edQuality = nullptr;
    QLineEdit *edHeight = nullptr;
    QLineEdit *edQuantity = nullptr;
    QLineEdit *edHue = nullptr;
    QLineEdit *edAnim = nullptr;
    QLineEdit *edUnknown0 = nullptr;
    QLineEdit *edUnknown1 = nullptr;
    QLineEdit *edunknown2 = nullptr;
    QLineEdit *edUnknown3 = nullptr;
    QLineEdit *edUnknown4 = nullptr;

    // The 32 flag boxes of "Tileflags", bit 0 to bit 31.
    QCheckBox *cbBackground = nullptr;
    QCheckBox *cbWeapon = nullptr;
    QCheckBox *cbTransparent = nullptr;
    QCheckBox *cbTranslucent = nullptr;
    QCheckBox *cbWall = nullptr;
    QCheckBox *cbDamaging = nullptr;
    QCheckBox *cbImpassable = nullptr;
    QCheckBox *cbWet = nullptr;
    QCheckBox *cbUnknown1 = nullptr;
    QCheckBox *cbSurface = nullptr;
    QCheckBox *cbBridge = nullptr;
    QCheckBox *cbGeneric = nullptr;
    QCheckBox *cbWindow = nullptr;
    QCheckBox *cbNoShoot = nullptr;
    QCheckBox *cbPrefixA = nullptr;
    QCheckBox *cbPrefixAN = nullptr;
    QCheckBox *cbMongen = nullptr;
    QCheckBox *cbFoliage = nullptr;
    QCheckBox *cbPartialhue = nullptr;
    QCheckBox *cbUnknown2 = nullptr;
    QCheckBox *cbMap = nullptr;
    QCheckBox *cbContainer = nullptr;
    QCheckBox *cbWearable = nullptr;
    QCheckBox *cbLightsource = nullptr;
    QCheckBox *cbAnimated = nullptr;
    QCheckBox *cbnodiagonal = nullptr;
    QCheckBox *cbUnknown3 = nullptr;
    QCheckBox *cbArmor = nullptr;
    QCheckBox *cbRoof = nullptr;
    QCheckBox *cbDoor = nullptr;
    QCheckBox *cbStairsback = nullptr;
    QCheckBox *cbStairRight = nullptr;
    // Bits 32 to 63, the second page of "Tileflags", for newer files only.
    TUpperFlagBoxes *UpperFlags = nullptr;

    // The bitmap that the selected tile's picture is drawn into; Image1
    // shows it.
    QImage Image1Bitmap;
    // The flag boxes by bit number. Bits 32 to 63 are the second page of
    // boxes, which only a newer file shows.
    std::array<QCheckBox *, 64> FlagBoxes{};
    // The eleven number boxes of "Properties", in the order of their fields.
    std::array<QLineEdit *, 11> NumberBoxes{};

protected:
    TFormControls();
    ~TFormControls();
    TFormControls(const TFormControls &) = delete;
    TFormControls &operator=(const TFormControls &) = delete;

    // Builds every control into Form; the list reads its lines from the
    // store Store gives.
    void BuildControls(QWidget *Form, std::function<const TTileData *()> Store);
    // Kept only as the keeper of the art reader; never shown.
    void CreateArtView(QWidget *Form);
    // The tab order of the form's own controls.
    void SetFormTabOrder();
    // Points the art view at the tile data file's directory when the art lies
    // there; otherwise the window does without pictures.
    void BindArtView(const QString &Path);
    void DrawTilePicture(TTileKind Kind, int Tile);
    // The file's layout, and the second page of flags for a file that has it.
    void ShowLayout(const TTileData *Store);
    // The number boxes show the fields of Tiles of Kind where they all share
    // a value, and are empty with "(mixed)" in grey where they differ; the
    // boxes of the other section are emptied. TextureBox is the land's box.
    // The number boxes with their fields, the texture box last.
    std::vector<std::pair<QLineEdit *, TTileField>> FieldBoxes(QLineEdit *TextureBox) const;
    void ShowNumbers(const TTileData &Store, TTileKind Kind, const std::vector<int> &Tiles, QLineEdit *TextureBox);
    // A flag box is checked where every tile of Tiles has the bit, and
    // partly checked where only some have it.
    void ShowFlagStates(const TTileData &Store, TTileKind Kind, const std::vector<int> &Tiles);
    // The controls that edit tiles look editable only while there is a tile
    // to edit. Changed only when that really comes or goes: disabling the
    // control that has the focus moves the focus, and with it commits a
    // number box. TextureBox is the land's box.
    void EnableTileControls(bool Enabled, QLineEdit *TextureBox);
    // Puts Form where it appears first: a box shown before the window is
    // centred over it.
    static void CenterOnScreen(QWidget *Form);

    static QFont SansFont();
    static QFont FixedFont();

private:
    void CreateTopLevelControls(QWidget *Form, std::function<const TTileData *()> Store);
    void CreatePictureButtons(QWidget *Form);
    void CreateHiddenRow(QWidget *Form);
    void CreateOneTileGroup();
    void CreateGlobalGroup();
    void CreatePropertiesGroup();
    void CreateFlagsGroup();
    void CreateOpenDialog();
};
