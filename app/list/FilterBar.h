#pragma once

#include "app/list/TileFilter.h"
#include "tiledata/TileKind.h"

#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QAbstractButton;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QToolButton;
class TTileDocument;

// The box above the tile list that filters it: a part of the name, and a
// drop-down of the flags, each "any", "set" or "clear". The list shows only
// the tiles the filter's predicate keeps. Another file, or the same file
// read again, starts unfiltered.
class TFilterBar : public QWidget
{
    Q_OBJECT

public:
    // Two rows: the name and the flags, then the switches of AddCondition,
    // which would leave the name no room beside them.
    static constexpr int RowHeight = 22;
    static constexpr int Height = 2 * RowHeight;

    using TilePredicate = std::function<bool(int Tile)>;

    TFilterBar(TTileDocument &Document, QWidget *Parent);

    void FocusBox();
    // Shows every tile again.
    void Clear();
    bool IsActive() const { return !FFilter.IsEmpty() || IsConditionOn(); }
    // Which tiles of the document's section the list shows; empty while the
    // filter takes every tile.
    TilePredicate Predicate() const;

    void SetFlag(int Bit, TTileFilter::FlagState State);

    // A further condition from another part of the window, with the switch
    // that turns it on, which stands beside the flags: while the switch is
    // checked, a tile shows only when Keep takes it too. Clearing the
    // filter turns every switch off. Note, when given, says what the user
    // should know of the tiles it kept ("pictures were not checked").
    using KindPredicate = std::function<bool(TTileKind Kind, int Tile)>;
    void AddCondition(QAbstractButton *Switch, KindPredicate Keep, std::function<QString()> Note = {});
    // The notes of the conditions turned on, joined; empty for none.
    QString Notes() const;
    // What the condition takes changed: the list is filtered anew.
    void ConditionChanged();

    QLineEdit *Box = nullptr;
    QToolButton *FlagsButton = nullptr;

signals:
    // The user changed what the filter asks.
    void Changed();

private:
    void FillFlagsMenu(int Bits);
    void ShowFlagStates();
    void Forget();
    void Apply();
    bool IsConditionOn() const;

    TTileDocument &FDocument;
    TTileFilter FFilter;
    QMenu *FFlagsMenu = nullptr;
    QHBoxLayout *FSwitches = nullptr;
    struct Condition
    {
        QAbstractButton *Switch;
        KindPredicate Keep;
        std::function<QString()> Note;
    };
    std::vector<Condition> FConditions;
};
