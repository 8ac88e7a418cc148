#pragma once

#include <QObject>

class TTileDocument;

// Copy and paste of whole tiles through the system clipboard, as text in
// the columns of quorvane-tool's dump: it pastes into a spreadsheet or an
// edits file, and back. The number and name boxes keep their own Ctrl+C and
// Ctrl+V for the text they hold; these act on the selected tiles.
class TTileClipboard : public QObject
{
    Q_OBJECT

public:
    TTileClipboard(TTileDocument &Document, QObject *Parent);

    // The selected tiles of the section shown, header line included.
    void Copy();
    // Throws, changing nothing, when the clipboard's text is not such text.
    void Paste();

signals:
    void Say(const QString &Text);

private:
    TTileDocument &FDocument;
};
