#pragma once

#include <QMessageBox>
#include <QString>

struct TSaveConflicts;

class QWidget;

// The questions asked before edits could be lost, each a modal message box
// titled like the error box. FileName is the tile data file's path; the
// questions name the file alone.

// Closing with unsaved edits: QMessageBox::Save, Discard or Cancel (Escape
// and the box's own close button give Cancel).
QMessageBox::StandardButton AskSaveChanges(QWidget *Parent, const QString &FileName);

// Saving over a file that another program changed since it was loaded or
// last saved here: true to overwrite it, false to cancel (the default).
// The question names the tiles both changed.
bool AskOverwriteChangedFile(QWidget *Parent, const QString &FileName, const TSaveConflicts &Conflicts);

// Renaming several tiles at once: "Rename 40 tiles to 'wall'?"; true to
// rename them (Rename), false to leave them (Cancel, the default).
bool AskRenameTiles(QWidget *Parent, int Count, const QString &Name);

// Reloading over unsaved edits: true to discard them (Discard), false to keep
// them (Cancel, the default).
bool AskDiscardAndReload(QWidget *Parent, const QString &FileName);
