#include "app/form/TypedValues.h"

#include "app/document/ErrorBox.h"
#include "app/document/TileDocument.h"
#include "app/form/ClickDropper.h"
#include "app/form/HexToInt.h"

#include "platform/Error.h"
#include "platform/qt/IntegerText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace {

// A box loses the focus to another control of the window, not because the
// window as a whole was deactivated or a popup menu opened over the box.
bool IsExitReason(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

TTypedValues::TTypedValues(TTileDocument &Document, QWidget &Window, const QWidget *SaveButton)
    : QObject(&Window)
    , FDocument(Document)
    , FWindow(Window)
    , FSaveButton(SaveButton)
    , FClickDropper(new TClickDropper(&Window))
{
}

void TTypedValues::Add(QLineEdit *Box, std::function<void()> Exit)
{
    FBoxes.emplace_back(Box, std::move(Exit));
    Box->installEventFilter(this);
}

// A box the user did not change writes nothing: with many tiles selected it
// may stand for several values. A box of the other section is empty.
void TTypedValues::Commit(QLineEdit *Box, TTileField Field)
{
    FRefusedBox = nullptr;
    if (!Box->isModified() || !FDocument.HasEditableTiles() || FieldKind(Field) != FDocument.Section())
        return;
    const bool anim = Field == TTileField::Anim;
    const qint64 value = anim ? HexToInt(Box->text()) : StrToInt(Box->text());
    FRefusedBox = Box;
    if (anim && !HexFits(Box->text(), FieldMaximum(Field)))
        throw Error(OutOfRangeText(Field, Box->text()).toStdString());
    FDocument.SetNumber(Field, value);
    FRefusedBox = nullptr;
}

void TTypedValues::CommitFocused()
{
    RunExit(FWindow.focusWidget());
}

void TTypedValues::RunExit(QObject *Box)
{
    for (const auto &[box, exit] : FBoxes) {
        if (box == Box)
            exit();
    }
}

bool TTypedValues::IsDecimalBox(QObject *Object, const QLineEdit *HexBox) const
{
    if (Object == HexBox)
        return false;
    for (const auto &entry : FBoxes) {
        if (entry.first == Object)
            return true;
    }
    return false;
}

bool TTypedValues::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(Event)->reason();
        if (IsExitReason(reason))
            LeaveBox(Watched, reason);
    }
    return false;
}

// A click that took the focus away has been interrupted by the error box:
// the user answered the box, not the control. Where it was a click on Save,
// the save it asked for did not happen.
void TTypedValues::LeaveBox(QObject *Box, Qt::FocusReason Reason)
{
    const bool towardsSave = QApplication::focusWidget() == FSaveButton;
    if (RunHandler(&FWindow, [&] { RunExit(Box); }))
        return;
    if (Reason == Qt::MouseFocusReason)
        FClickDropper->DropPendingClick();
    if (towardsSave)
        emit SaveDropped();
    if (FRefusedBox)
        FRefusedBox->setFocus(Qt::OtherFocusReason);
}
