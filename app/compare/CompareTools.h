#pragma once

#include "app/compare/OtherValues.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QLabel;
class QToolButton;
class QWidget;
class TCompareActions;
class TCompareSession;
class TFileWatch;
class TFilterBar;
class TMenuBar;
class QStatusBar;
class TListBox;
class TTileListModel;
class TTileDocument;
enum class TRecordPart;

// Comparing the open file with another tile data file in the window: the
// menu entries, the marks on the list's lines, the "Differences only"
// switch beside the filter, the counts in the status bar, the other file's
// values of the current tile, stepping from one difference to the next, and
// taking tiles across. The re-read of the other file, when it changes on
// disk, is offered in the window's file-change bar.
class TCompareTools : public QObject
{
    Q_OBJECT

public:
    // The window's controls the comparison marks, reads or writes in.
    struct Anchors
    {
        TListBox *List;
        const TTileListModel *Lines; // the lines of List
        QStatusBar *StatusBar;
        QStringList NameFilters; // the open-file dialog's
        TOtherValues::Boxes TileBoxes;
    };

    // The window's bars the comparison adds to: its menu entries, its
    // switch beside the filter, and its offer to read the other file again.
    struct Bars
    {
        TMenuBar *Menus;
        TFilterBar *Filter;
        TFileWatch *Watch;
    };

    TCompareTools(TTileDocument &Document, QWidget &Window, Bars Hosts, Anchors Parts);

    // Asks for the other file in a dialog, then compares with it.
    void AskAndCompare();
    void CompareWith(const QString &Path);
    // Selects the next (or previous) tile of the list shown that differs,
    // wrapping around at the list's end.
    void Step(bool Forward);
    void Take(TRecordPart Part);

    TCompareSession *Session = nullptr;
    TCompareActions *Actions = nullptr;
    TOtherValues *Values = nullptr;
    QToolButton *DifferencesOnly = nullptr;
    // The counts, at the right of the status bar while comparing.
    QLabel *CountField = nullptr;

private:
    void MarkTheList();
    void AddSwitch();
    void AddCountField();
    void ConnectActions();
    void ConnectDocument();
    void FollowSession();
    void FollowMarks();
    void OfferReadAgain();
    void ReadAgain();
    void Say(const QString &Text);
    // "Comparing with server.mul: 3 item tiles and 0 land tiles differ".
    QString ComparingText(const QString &Verb) const;

    TTileDocument &FDocument;
    QWidget &FWindow;
    Bars FBars;
    Anchors FParts;
};
