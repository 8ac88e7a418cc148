#pragma once

#include "app/EditSteps.h"

#include <QObject>
#include <QUndoStack>

#include <memory>

// The window's undo history: every edit of the tile data runs through Edit
// and becomes one step, unless it changed no byte. The history lives until
// another file is opened; saving neither ends it nor counts as a step.
class TUndoSteps : public QObject
{
    Q_OBJECT

public:
    TUndoSteps(TRecordStep::StoreSource Store, TRecordStep::Changed Shown, QObject *Parent);

    // Runs Change, the edit Step describes, and records it.
    void Edit(std::unique_ptr<TRecordStep> Step, const std::function<void()> &Change);
    void Clear() { FStack.clear(); }
    QUndoStack &Stack() { return FStack; }

private:
    TRecordStep::StoreSource FStore;
    TRecordStep::Changed FShown;
    QUndoStack FStack;
};
