#pragma once

#include "app/document/TileField.h"
#include "app/form/FormControls.h"
#include "tiledata/TileKind.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
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
class TCompareTools;
class TEditorTools;
class TListBox;
class TListView;
class TPictureCache;
class TPicturesWindow;
class TProblemsTools;
class TTileDocument;
class TTileLinks;
class TTileListModel;
class TTileData;
class TTypedValues;
class TUpperFlagBoxes;
class TVellArtReader;
enum class TLoadKind;

// The editor's one window: the tile list on the left, the name, property and
// flag controls on the right, and the picture of the selected tile.
//
// The window's document owns the file and makes every edit; the handlers
// here ask it to, and the controls follow its signals. The list's selected
// line is the document's current tile: line i is tile i, unless the list is
// filtered. Only Save writes the file.
class TForm1 : public QWidget, public TFormControls
{
    Q_OBJECT

public:
    // Builds the controls and runs FormCreate, which opens StartFile, or
    // without one asks for the tile data file in a modal dialog, before the
    // window is ever shown.
    explicit TForm1(QWidget *Parent = nullptr, const QString &StartFile = QString());
    ~TForm1() override;

    // The open file, its edits and the selection.
    TTileDocument *Document = nullptr;
    // The loaded tile data; none when the start-up dialog was cancelled or
    // the file could not be opened, and after the window closed.
    const TTileData *TileData() const;
    // True while the controls show a selected tile; the flag boxes write
    // nothing while it is false.
    bool TileShown = false;
    // The shown tile's flags word, as the flag boxes show it.
    std::uint64_t CurrentFlags = 0;
    // The grid of the list's pictures, a window of its own (View > Pictures);
    // none until first opened.
    std::unique_ptr<TPicturesWindow> Pictures;
    // View > Pictures: builds the Pictures window the first time, shows it
    // and brings it forward.
    TPicturesWindow &OpenPictures();
    // The texture or animation the current tile points to, in the art view.
    TTileLinks *Links = nullptr;
    // The findings of the check of the files beside, the Problems switch.
    TProblemsTools *Checks = nullptr;


protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    // Building the window.
    void CreateControls();
    void SetTabOrder();
    void ConnectHandlers();
    void ConnectFlagBoxes();
    void ConnectDocument();
    void ConnectMenus();
    void InstallKeyFilters();
    void CreatePictures();
    std::function<TPictureCache *()> PictureSource();

    // Handlers of the window.
    void FormCreate(const QString &StartFile);
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void BitBtn2Click();
    void BitBtn3Click();
    // The user selected a line, or clicked the selected one again.
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
    // The list shows the document's selection; the controls take edits
    // while the file wholly holds a selected tile.
    void SetSelection();
    // Takes away the word of an earlier save, for a save that did not happen.
    void ForgetSavedStatus();
    void ShowTitle();
    // The controls show the current tile anew; ShowNoTile empties them.
    void ShowTile();
    void ShowNoTile();
    // The current tile changed: its values are shown again, the name only
    // when it changed, so that a name being typed stays.
    void RefreshTile();
    void ShowValues();
    void ShowFlags(std::uint64_t Flags);
    void RenameSelectedTile();
    void RunGuarded(void (TForm1::*Handler)());
    void Guarded(const std::function<void()> &Handler);
    bool FilterEvent(QObject *Watched, QEvent *Event);

    // Following the document.
    void FollowLoad(TLoadKind How);
    void FollowTiles(TTileKind Kind, const std::vector<int> &Tiles);
    void FollowSelection();
    void FollowSection(TTileKind Kind);
    // The list's lines anew from the store, its scroll place and selection kept.
    void RebuildList();
    void FilterChanged();
    // Moves the focus from the tile controls to the list before they change.
    void LeaveTileControls();

    // The list follows the document.
    TListView *List = nullptr;
    bool ShownBefore = false;
    TEditorTools *Tools = nullptr;
    // Comparing with another file.
    TCompareTools *Compare = nullptr;
    // The name the rename box showed the current tile with.
    QString ShownName;
    // The number boxes, each with its exit handler.
    TTypedValues *Values = nullptr;
};

// The running program's main window, while RunQuorvane runs it.
extern TForm1 *Form1;
