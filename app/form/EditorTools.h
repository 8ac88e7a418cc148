#pragma once

#include <QObject>

#include <memory>

class QFileDialog;
class QGroupBox;
class QLineEdit;
class TFileActions;
class TFileWatch;
class TFilterBar;
class TFindNext;
class TGoToTile;
class TMenuBar;
class TTileDocument;
class TTileClipboard;
class TTileSections;

// What the window offers for a day's work around the form itself: the menu
// bar, go to, the filter, Find Next, the file actions, the watch on the file
// and the switch between the item and the land tiles, each working on the
// document. The form's own controls keep their places relative to each
// other, below the menu bar and the watch bar.
class TEditorTools : public QObject
{
    Q_OBJECT

public:
    // The window's controls the tools stand beside or copy.
    struct Anchors
    {
        QWidget *List;           // the tile list, below the bars
        QGroupBox *OneTile;      // where the texture box stands
        const QLineEdit *NumberBox; // the face and height of a number box
        QFileDialog *OpenDialog; // the window's open-file dialog
    };

    TEditorTools(TTileDocument &Document, QWidget &Window, const Anchors &Parts);
    ~TEditorTools() override;

    // Stops following the window's moves and resizes; the window calls it as
    // it is destroyed.
    void Detach();

    // Where the tile list begins, below the bars, the section tabs and the
    // filter box.
    int ListTop() const;
    void GoToTile();
    // Find: asks for a name, or part of one, and selects the first tile of
    // the section shown that has it.
    void Find();
    // What Find looked for and found (-1: nothing); selects what it found.
    void Found(const QString &Text, int Tile);
    void FindNext();
    // "Replaced ... with ...", and whether it reached hidden tiles too.
    QString ReplacedText(const QString &OldName, const QString &NewName) const;

    TMenuBar *Menus = nullptr;
    TFilterBar *Filter = nullptr;
    TFileWatch *Watch = nullptr;
    TGoToTile *GoTo = nullptr;
    TFileActions *Files = nullptr;
    TTileSections *Sections = nullptr;
    TTileClipboard *Clipboard = nullptr;

signals:
    // A message for the status bar.
    void Say(const QString &Text);
    // Find Next has nothing to look for yet: Find must ask first.
    void FindAsked();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void ConnectMenus();
    void Relayout();
    void PlaceBars();

    TTileDocument &FDocument;
    QWidget &FWindow;
    QWidget *FList;
    std::unique_ptr<TFindNext> FFind;
    int FTop = 0;
};
