#pragma once

#include "app/document/TileField.h"

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QLineEdit;
class QWidget;
class TClickDropper;
class TTileDocument;

// The values typed into the number boxes. A box's value goes into the
// selected tiles when the box loses the focus to another control of the
// window, or when an action takes it first (CommitFocused). A value the
// field cannot hold is refused in the standard error box, and the box keeps
// the focus.
class TTypedValues : public QObject
{
    Q_OBJECT

public:
    // SaveButton is the window's Save button.
    TTypedValues(TTileDocument &Document, QWidget &Window, const QWidget *SaveButton);

    // Box runs Exit as its value is to go into the tiles.
    void Add(QLineEdit *Box, std::function<void()> Exit);
    // The value of Box goes into the selected tiles as Field, when the user
    // changed the box and the section shown has the field.
    void Commit(QLineEdit *Box, TTileField Field);
    void CommitFocused();
    void RunExit(QObject *Box);
    // A box that takes only decimal digits.
    bool IsDecimalBox(QObject *Object, const QLineEdit *HexBox) const;
    const std::vector<std::pair<QLineEdit *, std::function<void()>>> &Boxes() const { return FBoxes; }

signals:
    // A refused value stopped a click on Save: no save happened.
    void SaveDropped();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void LeaveBox(QObject *Box, Qt::FocusReason Reason);

    TTileDocument &FDocument;
    QWidget &FWindow;
    const QWidget *FSaveButton;
    TClickDropper *FClickDropper;
    std::vector<std::pair<QLineEdit *, std::function<void()>>> FBoxes;
    // The box whose value was just refused; it keeps the focus.
    QLineEdit *FRefusedBox = nullptr;
};
