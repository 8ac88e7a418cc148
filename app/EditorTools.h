#pragma once

#include "app/EditSteps.h"

#include <QObject>

#include <memory>

class QMenuBar;
class TFileActions;
class TFileWatch;
class TFilterBar;
class TFindNext;
class TForm1;
class TGoToTile;
class TTileSections;
class TUndoSteps;

// What the window offers for a day's work around the form itself: the menu
// bar, undo and redo, go to, the filter, Find Next, Open, Save As, Reload,
// a dropped file, the watch on the file and the switch between the item and
// the land tiles. The form's own controls keep
// their places relative to each other, below the menu bar and the watch bar.
class TEditorTools : public QObject
{
    Q_OBJECT

public:
    explicit TEditorTools(TForm1 &Form);
    ~TEditorTools() override;

    // Stops following the form's moves and resizes; the form calls it as it
    // is destroyed.
    void Detach();

    // Where the tile list begins, below the bars, the section tabs and the
    // filter box.
    int ListTop() const;
    // Selects Tile and shows it as a click on its line would, clearing the
    // filter when it hides the tile.
    void ShowTile(int Tile);
    // Runs Change, the edit Step describes, as one undoable step.
    void Edit(std::unique_ptr<TRecordStep> Step, const std::function<void()> &Change);
    // What the form's Find looked for and found (-1: nothing).
    void Found(const QString &Text, int Tile);
    void FindNext();
    // The form has just saved the file.
    void Saved();
    // "Replaced ... with ...", and whether it reached hidden tiles too.
    QString ReplacedText(const QString &OldName, const QString &NewName) const;

    QMenuBar *Menus = nullptr;
    TFilterBar *Filter = nullptr;
    TFileWatch *Watch = nullptr;
    TUndoSteps *Undo = nullptr;
    TGoToTile *GoTo = nullptr;
    TFileActions *Files = nullptr;
    TTileSections *Sections = nullptr;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void Relayout();
    void PlaceBars();
    void StepShown(TTileKind Kind, const std::vector<int> &Tiles);

    TForm1 &FForm;
    std::unique_ptr<TFindNext> FFind;
    int FTop = 0;
};
