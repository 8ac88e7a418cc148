#pragma once

#include "tiledata/TileKind.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QStatusBar;
class TClickDropper;
class TEditorTools;
class TListBox;
class TTileListModel;
class TTileData;
class TUpperFlagBoxes;
class TVellArtReader;

// The editor's one window: the tile list on the left, the name, property and
// flag controls on the right, and the picture of the selected tile.
//
// The selected tile is always the list's selected line: line i is tile i,
// unless the list is filtered. Every edit goes straight into the store, as
// one undoable step; only Save writes the file.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // Builds the controls and runs FormCreate, which opens StartFile, or
    // without one asks for the tile data file in a modal dialog, before the
    // window is ever shown.
    explicit TForm1(QWidget *Parent = nullptr, const QString &StartFile = QString());
    ~TForm1() override;

    // The loaded tile data; empty when the start-up dialog was cancelled or
    // the file could not be opened. Destroyed when the window closes.
    std::unique_ptr<TTileData> TileData;
    // True while the controls show a selected tile; the flag boxes write
    // nothing while it is false.
    bool TileShown = false;
    // The selected tile's flags word, edited bit by bit by the flag boxes.
    std::uint64_t CurrentFlags = 0;

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

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    // The window's tools beyond the form reach into its handlers.
    friend class TEditorTools;
    friend class TFileActions;
    friend class TFilterBar;
    friend class TMenuBar;
    friend class TTileSections;

    // Building the window.
    void CreateControls();
    void CreateTopLevelControls();
    void CreatePictureButtons();
    void CreateHiddenRow();
    void CreateOneTileGroup();
    void CreateGlobalGroup();
    void CreatePropertiesGroup();
    void CreateFlagsGroup();
    void CreateOpenDialog();
    void CreateArtView();
    void SetTabOrder();
    void ConnectHandlers();
    void InstallKeyFilters();

    // Handlers of the window.
    void FormCreate(const QString &StartFile);
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void BitBtn2Click();
    void BitBtn3Click();
    void ListBox1Click();
    bool ListBox1KeyDown(QKeyEvent *Key);
    bool edWeightKeyPress(QKeyEvent *Key);
    void FlagClick(QCheckBox *Box, int Bit);
    bool Edit1KeyPress(QKeyEvent *Key);
    bool Edit1KeyUp(QLineEdit *Box, QKeyEvent *Key);
    void Button2Click();
    void Button1Click();
    void Button5Click();
    void BitBtn1Click();
    void Button4Click();
    void Button3Click();

    void cbBackgroundClick() { FlagClick(cbBackground, 0); }
    void cbWeaponClick() { FlagClick(cbWeapon, 1); }
    void cbTransparentClick() { FlagClick(cbTransparent, 2); }
    void cbTranslucentClick() { FlagClick(cbTranslucent, 3); }
    void cbWallClick() { FlagClick(cbWall, 4); }
    void cbDamagingClick() { FlagClick(cbDamaging, 5); }
    void cbImpassableClick() { FlagClick(cbImpassable, 6); }
    void cbWetClick() { FlagClick(cbWet, 7); }
    void cbUnknown1Click() { FlagClick(cbUnknown1, 8); }
    void cbSurfaceClick() { FlagClick(cbSurface, 9); }
    void cbBridgeClick() { FlagClick(cbBridge, 10); }
    void cbGenericClick() { FlagClick(cbGeneric, 11); }
    void cbWindowClick() { FlagClick(cbWindow, 12); }
    void cbNoShootClick() { FlagClick(cbNoShoot, 13); }
    void cbPrefixAClick() { FlagClick(cbPrefixA, 14); }
    void cbPrefixANClick() { FlagClick(cbPrefixAN, 15); }
    void cbMongenClick() { FlagClick(cbMongen, 16); }
    void cbFoliageClick() { FlagClick(cbFoliage, 17); }
    void cbPartialhueClick() { FlagClick(cbPartialhue, 18); }
    void cbUnknown2Click() { FlagClick(cbUnknown2, 19); }
    void cbMapClick() { FlagClick(cbMap, 20); }
    void cbContainerClick() { FlagClick(cbContainer, 21); }
    void cbWearableClick() { FlagClick(cbWearable, 22); }
    void cbLightsourceClick() { FlagClick(cbLightsource, 23); }
    void cbAnimatedClick() { FlagClick(cbAnimated, 24); }
    void cbnodiagonalClick() { FlagClick(cbnodiagonal, 25); }
    void cbUnknown3Click() { FlagClick(cbUnknown3, 26); }
    void cbArmorClick() { FlagClick(cbArmor, 27); }
    void cbRoofClick() { FlagClick(cbRoof, 28); }
    void cbDoorClick() { FlagClick(cbDoor, 29); }
    void cbStairsbackClick() { FlagClick(cbStairsback, 30); }
    void cbStairRightClick() { FlagClick(cbStairRight, 31); }

    // Exit handlers: each writes its box into the selected tile when the box
    // loses the focus.
    void edWeightExit();
    void edQualityExit();
    void edHeightExit();
    void edQuantityExit();
    void edHueExit();
    void edAnimExit();
    void edUnknown0Exit();
    void edUnknown1Exit();
    void edunknown2Exit();
    void edUnknown3Exit();
    void edUnknown4Exit();
    void edTextureExit();

    // Helpers.
    // The section the list shows, item tiles or land tiles.
    TTileKind ShownKind() const;
    int SelectedTile() const;
    bool HasSelectedTile() const;
    // Selects the line of Tile (-1, or a tile the filter hides: none).
    void SetSelection(int Tile);
    // Renews the list's lines and selects tile Selected (-1: none).
    void ReplaceListLines(int Selected = -1);
    void EnableTileControls(bool Enabled);
    bool SaveTileData();
    // Takes away the word of an earlier save, for a save that did not happen.
    void ForgetSavedStatus();
    // True when the rename box holds a name the selected tile does not have.
    bool IsRenamePending() const;
    void LoadStore(const QString &Path);
    void BindArtView(const QString &Path);
    void ShowLayout();
    void FillNumberBoxes(int Tile);
    void ShowFlags(std::uint64_t Flags);
    void DrawTilePicture(int Tile);
    void CommitNumber(int Value, void (TTileData::*Setter)(int, int));
    void CommitDecimal(QLineEdit *Box, void (TTileData::*Setter)(int, int));
    void RunExitHandler(QObject *Box);
    void CommitFocusedNumberBox();
    void RenameSelectedTile();
    int TopIndex() const;
    void SetTopIndex(int Row);
    bool IsDecimalBox(QObject *Object) const;
    void RunGuarded(void (TForm1::*Handler)());
    void ListSelectionChanged();
    void ListPressed(const QModelIndex &Index);
    bool FilterEvent(QObject *Watched, QEvent *Event);
    void CenterOnScreen();

    // Set while a handler changes the list's lines or selection itself: such
    // a change must not show a tile.
    bool SelectingByProgram = false;
    // The selected line when the mouse went down on the list, to tell a click
    // on the selected line from one that selects another.
    int SelectedBeforePress = -1;
    bool ShownBefore = false;
    TClickDropper *ClickDropper = nullptr;
    TEditorTools *Tools = nullptr;
    // The flag boxes by bit number, and each number box with its exit handler.
    // Bits 32 to 63 are the second page of boxes, which only a newer file shows.
    std::array<QCheckBox *, 64> FlagBoxes{};
    std::vector<std::pair<QLineEdit *, void (TForm1::*)()>> ExitHandlers;
};

// The running program's main window, while RunQuorvane runs it.
extern TForm1 *Form1;
