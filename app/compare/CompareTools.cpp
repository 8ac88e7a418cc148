#include "app/compare/CompareTools.h"

#include "app/compare/CompareActions.h"
#include "app/compare/CompareSession.h"
#include "app/compare/DifferenceDelegate.h"
#include "app/compare/OtherValues.h"
#include "app/document/ErrorBox.h"
#include "app/document/FileWatch.h"
#include "app/document/MenuBar.h"
#include "app/document/TileDocument.h"
#include "app/list/FilterBar.h"
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"

#include "tiledata/RecordTake.h"
#include "tiledata/TileDataReader.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

TCompareTools::TCompareTools(TTileDocument &Document, QWidget &Window, Bars Hosts, Anchors Parts)
    : QObject(&Window)
    , FDocument(Document)
    , FWindow(Window)
    , FBars(Hosts)
    , FParts(std::move(Parts))
{
    Session = new TCompareSession(FDocument, this);
    Actions = new TCompareActions(*Hosts.Menus);
    Values = new TOtherValues(FDocument, *Session, &Window, FParts.TileBoxes);
    MarkTheList();
    AddSwitch();
    AddCountField();
    ConnectActions();
    ConnectDocument();
    FollowSession();
}

// The list's lines are drawn with their marks from now on.
void TCompareTools::MarkTheList()
{
    QAbstractItemDelegate *plain = FParts.List->itemDelegate();
    FParts.List->setItemDelegate(new TDifferenceDelegate(*Session, FParts.List));
    delete plain;
}

// Beside the filter's flags, shown while comparing.
void TCompareTools::AddSwitch()
{
    DifferencesOnly = new QToolButton(FBars.Filter);
    DifferencesOnly->setObjectName(QStringLiteral("DifferencesOnly"));
    DifferencesOnly->setText(QStringLiteral("\u2260 only"));
    DifferencesOnly->setToolTip(QStringLiteral("Differences only: show just the tiles that differ from the other file"));
    DifferencesOnly->setAccessibleName(QStringLiteral("Differences only"));
    DifferencesOnly->setCheckable(true);
    DifferencesOnly->hide();
    FBars.Filter->AddCondition(DifferencesOnly,
                                [this](TTileKind Kind, int Tile) { return Session->Differs(Kind, Tile); });
}

// Left of the file's layout, at the right of the status bar.
void TCompareTools::AddCountField()
{
    CountField = new QLabel(FParts.StatusBar);
    CountField->setObjectName(QStringLiteral("CompareCounts"));
    FParts.StatusBar->insertPermanentWidget(0, CountField);
    CountField->hide();
}

void TCompareTools::ConnectActions()
{
    const auto guarded = [this](std::function<void()> Action) {
        return [this, Action] { RunHandler(&FWindow, Action); };
    };
    connect(Actions, &TCompareActions::CompareRequested, this, guarded([this] { AskAndCompare(); }));
    connect(Actions, &TCompareActions::StopRequested, this, guarded([this] { Session->Stop(); }));
    connect(Actions, &TCompareActions::StepRequested, this,
            [this](bool Forward) { RunHandler(&FWindow, [this, Forward] { Step(Forward); }); });
    connect(Actions, &TCompareActions::TakeRequested, this,
            [this](TRecordPart Part) { RunHandler(&FWindow, [this, Part] { Take(Part); }); });
}

void TCompareTools::ConnectDocument()
{
    connect(Session, &TCompareSession::ActiveChanged, this, &TCompareTools::FollowSession);
    connect(Session, &TCompareSession::MarksChanged, this, &TCompareTools::FollowMarks);
    connect(Session, &TCompareSession::OtherChangedOnDisk, this, &TCompareTools::OfferReadAgain);
    // After the session has compared the changed tiles again, the current
    // tile's values are shown anew: an edit may leave its mark as it was
    // and still change what differs.
    connect(&FDocument, &TTileDocument::TilesChanged, Values, &TOtherValues::Show);
    connect(&FDocument, &TTileDocument::SelectionChanged, Values, &TOtherValues::Show);
    connect(&FDocument, &TTileDocument::SectionChanged, Values, &TOtherValues::Show);
    connect(&FDocument, &TTileDocument::Loaded, this,
            [this] { Actions->Enable(FDocument.Store() != nullptr, Session->IsActive()); });
}

// A comparison that ends takes its switch with it, and the list shows
// every tile the filter takes. Whatever the bar offered about the file read
// before no longer applies.
void TCompareTools::FollowSession()
{
    FBars.Watch->Withdraw();
    const bool active = Session->IsActive();
    Actions->Enable(FDocument.Store() != nullptr, active);
    DifferencesOnly->setVisible(active);
    if (!active)
        DifferencesOnly->setChecked(false);
    FBars.Filter->ConditionChanged();
    FollowMarks();
}

void TCompareTools::FollowMarks()
{
    const QString counts = Session->CountText();
    CountField->setText(counts);
    const TTileData *other = Session->Other();
    CountField->setToolTip(other ? QStringLiteral("Compared with %1").arg(other->GetFileName()) : QString());
    CountField->setVisible(!counts.isEmpty());
    FParts.List->viewport()->update();
    Values->Show();
}

void TCompareTools::AskAndCompare()
{
    if (!FDocument.Store())
        return;
    QFileDialog dialog(&FWindow, QStringLiteral("Compare With"));
    dialog.setObjectName(QStringLiteral("CompareDialog"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // As in Open: any name may be typed, and one that cannot be read is
    // reported when it is.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(FParts.NameFilters);
    dialog.setDirectory(QFileInfo(FDocument.FileName()).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    CompareWith(dialog.selectedFiles().constFirst());
}

void TCompareTools::CompareWith(const QString &Path)
{
    Session->Start(Path);
    Say(ComparingText(QStringLiteral("Comparing with")));
}

QString TCompareTools::ComparingText(const QString &Verb) const
{
    QString text = QStringLiteral("%1 %2: %3").arg(Verb, Session->OtherName(), Session->CountText());
    for (const QString &note : {Session->BeyondText(), Session->LayoutNote()}) {
        if (!note.isEmpty())
            text += QStringLiteral("; ") + note;
    }
    return text;
}

void TCompareTools::Step(bool Forward)
{
    if (!Session->IsActive() || !FDocument.Store())
        return;
    const TTileListModel &list = *FParts.Lines;
    const int rows = list.rowCount();
    const int from = list.RowOf(FDocument.CurrentTile());
    const TTileKind kind = FDocument.Section();
    for (int step = 1; step <= rows; ++step) {
        const int ahead = Forward ? (from < 0 ? step - 1 : from + step) : (from < 0 ? rows - step : from - step);
        const int row = (ahead % rows + rows) % rows;
        const int tile = list.TileAt(row);
        if (!Session->Differs(kind, tile))
            continue;
        FDocument.Select(tile);
        if (ahead != row)
            Say(Forward ? QStringLiteral("Wrapped around to the first difference")
                        : QStringLiteral("Wrapped around to the last difference"));
        return;
    }
    Say(QStringLiteral("No tile of the list shown differs from %1").arg(Session->OtherName()));
}

// A value typed into the focused number box goes into its tile first, as
// for any other action on the tile.
void TCompareTools::Take(TRecordPart Part)
{
    if (!Session->Other())
        return;
    FDocument.CommitPendingEdits();
    FDocument.TakeFromOther(*Session->Other(), Session->OtherName(), Part);
}

void TCompareTools::OfferReadAgain()
{
    FBars.Watch->Offer(
        QStringLiteral("%1, which this file is compared with, was changed by another program.").arg(Session->OtherName()),
        QStringLiteral("Read Again"), [this] { RunHandler(&FWindow, [this] { ReadAgain(); }); });
}

void TCompareTools::ReadAgain()
{
    Session->ReadAgain();
    Say(ComparingText(QStringLiteral("Read again")));
}

void TCompareTools::Say(const QString &Text)
{
    FParts.StatusBar->showMessage(Text);
}
