#pragma once

#include <QObject>
#include <QString>

class QFileDialog;
class QMimeData;
class QWidget;
class TTileDocument;

// Open (Ctrl+O), Save, Save As (Ctrl+Shift+S), Reload, a tile data file
// dropped on the window, and the question before unsaved edits could be
// lost. Open and a drop first ask that question when there are unsaved
// edits, then load the file in the same window with its art beside it and a
// fresh undo history.
class TFileActions : public QObject
{
    Q_OBJECT

public:
    // Window is the parent of the questions and takes the drops; OpenDialog
    // is the window's open-file dialog.
    TFileActions(TTileDocument &Document, QWidget *Window, QFileDialog *OpenDialog);

    void Open();
    void SaveEdits();
    void SaveAs();
    void Reload();
    // Loads Path in place of the current file, after the question.
    void OpenAsked(const QString &Path);
    // Edits are not dropped unasked: with unsaved edits, or a name typed
    // into the rename box and not yet confirmed, asks whether to save them
    // (Save, Discard or Cancel). Save confirms the name, then saves. False
    // when the edits must stay: Cancel, or a save that did not happen.
    bool MayDropEdits();

    // The one local file a drag carries, or an empty text.
    static QString DroppedFile(const QMimeData *Data);

signals:
    // A message for the status bar.
    void Say(const QString &Text);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    TTileDocument &FDocument;
    QWidget *FWindow;
    QFileDialog *FOpenDialog;
};
