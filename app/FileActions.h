#pragma once

#include <QObject>
#include <QString>

class QMimeData;
class TForm1;
class TTileData;

// Open (Ctrl+O), Save As (Ctrl+Shift+S), Reload, and a tile data file
// dropped on the window. Open and a drop first ask the close question when
// there are unsaved edits, then load the file in the same window with its
// art beside it and a fresh undo history.
class TFileActions : public QObject
{
    Q_OBJECT

public:
    explicit TFileActions(TForm1 &Form);

    void Open();
    void SaveAs();
    void Reload();
    // Loads Path in place of the current file, after the close question.
    void OpenAsked(const QString &Path);

    // Writes Store's records into a copy of its file named Target: a new
    // file under a temporary name beside Target, written and flushed as a
    // save writes, then renamed over Target. Nothing is left behind on an
    // error, and Target stays as it was.
    static void WriteCopy(const TTileData &Store, const QString &Target);

    // The one local file a drag carries, or an empty text.
    static QString DroppedFile(const QMimeData *Data);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    // Loads Path; KeepSelection keeps the selected tile (a reload).
    void Load(const QString &Path, bool KeepSelection);

    TForm1 &FForm;
};
