#include "app/compare/CompareActions.h"

#include "app/document/MenuBar.h"

#include "tiledata/RecordTake.h"

#include <QAction>
#include <QMenu>

TCompareActions::TCompareActions(TMenuBar &Menus)
    : QObject(&Menus)
{
    AddFileEntries(Menus);
    AddEditEntries(Menus);
    AddViewEntries(Menus);
    Enable(false, false);
}

// Beside the other ways of reading a file, before Close.
void TCompareActions::AddFileEntries(TMenuBar &Menus)
{
    QMenu *file = Menus.FileMenu;
    QAction *before = nullptr;
    for (QAction *entry : file->actions()) {
        if (entry->isSeparator())
            before = entry;
    }
    CompareWith = new QAction(QStringLiteral("Compare &With..."), file);
    CompareWith->setObjectName(QStringLiteral("CompareWithAction"));
    CompareWith->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    StopComparing = new QAction(QStringLiteral("Stop Co&mparing"), file);
    StopComparing->setObjectName(QStringLiteral("StopComparingAction"));
    file->insertActions(before, {CompareWith, StopComparing});
    connect(CompareWith, &QAction::triggered, this, &TCompareActions::CompareRequested);
    connect(StopComparing, &QAction::triggered, this, &TCompareActions::StopRequested);
    FWhileComparing.push_back(StopComparing);
}

void TCompareActions::AddEditEntries(TMenuBar &Menus)
{
    QMenu *edit = Menus.EditMenu;
    edit->addSeparator();
    TakeWhole = edit->addAction(QStringLiteral("&Take from Other"));
    TakeWhole->setObjectName(QStringLiteral("TakeFromOtherAction"));
    TakeWhole->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    connect(TakeWhole, &QAction::triggered, this, [this] { emit TakeRequested(TRecordPart::Whole); });
    FWhileComparing.push_back(TakeWhole);
    QMenu *parts = edit->addMenu(QStringLiteral("Take &Part from Other"));
    parts->setObjectName(QStringLiteral("TakePartMenu"));
    FWhileComparing.push_back(parts->menuAction());
    const std::pair<const char *, TRecordPart> entries[] = {
        {"&Flags Only", TRecordPart::Flags},
        {"&Numbers Only", TRecordPart::Numbers},
        {"N&ame Only", TRecordPart::Name},
    };
    for (const auto &[text, part] : entries) {
        const TRecordPart taken = part;
        connect(parts->addAction(QLatin1String(text)), &QAction::triggered, this,
                [this, taken] { emit TakeRequested(taken); });
    }
}

void TCompareActions::AddViewEntries(TMenuBar &Menus)
{
    QMenu *view = Menus.ViewMenu;
    view->addSeparator();
    NextDifference = view->addAction(QStringLiteral("Ne&xt Difference"));
    NextDifference->setObjectName(QStringLiteral("NextDifferenceAction"));
    NextDifference->setShortcut(QKeySequence(Qt::Key_F8));
    PreviousDifference = view->addAction(QStringLiteral("Pre&vious Difference"));
    PreviousDifference->setObjectName(QStringLiteral("PreviousDifferenceAction"));
    PreviousDifference->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    connect(NextDifference, &QAction::triggered, this, [this] { emit StepRequested(true); });
    connect(PreviousDifference, &QAction::triggered, this, [this] { emit StepRequested(false); });
    FWhileComparing.push_back(NextDifference);
    FWhileComparing.push_back(PreviousDifference);
}

void TCompareActions::Enable(bool HasFile, bool Comparing)
{
    CompareWith->setEnabled(HasFile);
    for (QAction *entry : FWhileComparing)
        entry->setEnabled(HasFile && Comparing);
}
