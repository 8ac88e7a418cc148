#include "app/list/FilterBar.h"

#include "app/document/TileDocument.h"

#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

using State = TTileFilter::FlagState;

// A menu that stays open while the user clicks through its flags, each
// click stepping one flag from "any" to "set" to "clear". Only a release
// whose press came down on the menu is a click: the menu may open under
// the pointer, and the release of the press that opened it does nothing.
class TStayingMenu : public QMenu
{
public:
    using QMenu::QMenu;

protected:
    void showEvent(QShowEvent *Event) override
    {
        FPressed = false;
        QMenu::showEvent(Event);
    }
    void mousePressEvent(QMouseEvent *Event) override
    {
        FPressed = rect().contains(Event->position().toPoint());
        QMenu::mousePressEvent(Event);
    }
    void mouseReleaseEvent(QMouseEvent *Event) override
    {
        if (!std::exchange(FPressed, false))
            return Event->accept();
        QAction *action = actionAt(Event->position().toPoint());
        if (action && action->isEnabled() && action->data().isValid()) {
            action->trigger();
            return;
        }
        QMenu::mouseReleaseEvent(Event);
    }

private:
    bool FPressed = false;
};

State NextState(State Now)
{
    switch (Now) {
    case State::Any:
        return State::Set;
    case State::Set:
        return State::Clear;
    default:
        return State::Any;
    }
}

QString StateWord(State Now)
{
    switch (Now) {
    case State::Set:
        return QStringLiteral("set");
    case State::Clear:
        return QStringLiteral("clear");
    default:
        return QStringLiteral("any");
    }
}

} // namespace

TFilterBar::TFilterBar(TTileDocument &Document, QWidget *Parent)
    : QWidget(Parent)
    , FDocument(Document)
{
    setObjectName(QStringLiteral("FilterBar"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 1);
    rows->setSpacing(1);
    auto *layout = new QHBoxLayout;
    layout->setSpacing(1);
    FSwitches = new QHBoxLayout;
    FSwitches->setSpacing(1);
    FSwitches->addStretch(1);
    rows->addLayout(layout);
    rows->addLayout(FSwitches);
    Box = new QLineEdit(this);
    Box->setObjectName(QStringLiteral("FilterBox"));
    Box->setPlaceholderText(QStringLiteral("Filter by name"));
    Box->setClearButtonEnabled(true);
    FlagsButton = new QToolButton(this);
    FlagsButton->setObjectName(QStringLiteral("FilterFlags"));
    FlagsButton->setText(QStringLiteral("Flags"));
    FlagsButton->setPopupMode(QToolButton::InstantPopup);
    FFlagsMenu = new TStayingMenu(FlagsButton);
    FlagsButton->setMenu(FFlagsMenu);
    FillFlagsMenu(FlagCount);
    layout->addWidget(Box, 1);
    layout->addWidget(FlagsButton);
    connect(Box, &QLineEdit::textChanged, this, [this](const QString &Text) {
        FFilter.SetName(Text);
        Apply();
    });
    connect(&FDocument, &TTileDocument::Loaded, this, [this](TLoadKind How) {
        if (How != TLoadKind::Adopt)
            Forget();
        const TTileData *store = FDocument.Store();
        FillFlagsMenu(store ? store->Layout().FlagBits() : FlagCount);
    });
}

// The flags the file has, in the order the tile's flag boxes show them:
// bit 31 stands above bit 30 there.
void TFilterBar::FillFlagsMenu(int Bits)
{
    FFlagsMenu->clear();
    for (int k = 0; k < Bits; ++k) {
        const int bit = k == 30 ? 31 : k == 31 ? 30 : k;
        QAction *action = FFlagsMenu->addAction(QString());
        action->setData(bit);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, bit] { SetFlag(bit, NextState(FFilter.Flag(bit))); });
    }
    FFlagsMenu->addSeparator();
    connect(FFlagsMenu->addAction(QStringLiteral("Any flags")), &QAction::triggered, this, [this] {
        for (int bit = 0; bit < WideFlagCount; ++bit)
            FFilter.SetFlag(bit, State::Any);
        Apply();
    });
    ShowFlagStates();
}

// Each entry names its flag and what the filter asks of it; the button
// says how many flags take part, its tip which.
void TFilterBar::ShowFlagStates()
{
    QStringList asked;
    for (QAction *action : FFlagsMenu->actions()) {
        if (!action->data().isValid())
            continue;
        const int bit = action->data().toInt();
        const State state = FFilter.Flag(bit);
        const QString name = QString::fromStdString(FlagName(bit));
        action->setText(name + QLatin1Char('\t') + StateWord(state));
        action->setChecked(state != State::Any);
        if (state != State::Any)
            asked << name + QLatin1Char(' ') + StateWord(state);
    }
    FlagsButton->setText(asked.isEmpty() ? QStringLiteral("Flags") : QStringLiteral("Flags %1").arg(asked.size()));
    FlagsButton->setToolTip(asked.isEmpty() ? QStringLiteral("Filter by flags") : asked.join(QStringLiteral(", ")));
}

void TFilterBar::SetFlag(int Bit, TTileFilter::FlagState State)
{
    FFilter.SetFlag(Bit, State);
    Apply();
}

// Ctrl+L may come from the Pictures window: the box's window comes forward
// so that what the user types next goes into the box.
void TFilterBar::FocusBox()
{
    Box->window()->raise();
    Box->window()->activateWindow();
    Box->setFocus(Qt::ShortcutFocusReason);
    Box->selectAll();
}

void TFilterBar::Clear()
{
    Forget();
    Apply();
}

void TFilterBar::Forget()
{
    FFilter = TTileFilter();
    const QSignalBlocker quiet(Box);
    Box->clear();
    for (const auto &condition : FConditions) {
        const QSignalBlocker quietSwitch(condition.Switch);
        condition.Switch->setChecked(false);
    }
    ShowFlagStates();
}

void TFilterBar::Apply()
{
    ShowFlagStates();
    emit Changed();
}

void TFilterBar::AddCondition(QAbstractButton *Switch, KindPredicate Keep, std::function<QString()> Note)
{
    FConditions.push_back({Switch, std::move(Keep), std::move(Note)});
    FSwitches->insertWidget(FSwitches->count() - 1, Switch);
    connect(Switch, &QAbstractButton::toggled, this, &TFilterBar::Apply);
}

void TFilterBar::ConditionChanged()
{
    if (IsConditionOn())
        Apply();
}

bool TFilterBar::IsConditionOn() const
{
    return std::any_of(FConditions.begin(), FConditions.end(),
                       [](const auto &Condition) { return Condition.Switch->isChecked(); });
}

QString TFilterBar::Notes() const
{
    QStringList notes;
    for (const auto &condition : FConditions) {
        if (condition.Switch->isChecked() && condition.Note && !condition.Note().isEmpty())
            notes << condition.Note();
    }
    return notes.join(QStringLiteral("; "));
}

TFilterBar::TilePredicate TFilterBar::Predicate() const
{
    const TTileData *store = FDocument.Store();
    if (!IsActive() || !store)
        return {};
    const TTileKind kind = FDocument.Section();
    std::vector<const KindPredicate *> conditions;
    for (const auto &condition : FConditions) {
        if (condition.Switch->isChecked())
            conditions.push_back(&condition.Keep);
    }
    // The conditions come last: the name and flags are cheap to ask, a
    // condition may have to look at the tile's picture.
    return [store, kind, conditions, this](int Tile) {
        return FFilter.Matches(store->GetFlags(kind, Tile), [&] { return store->GetName(kind, Tile); })
               && std::all_of(conditions.begin(), conditions.end(),
                              [&](const KindPredicate *Keep) { return (*Keep)(kind, Tile); });
    };
}
