#pragma once

#include "app/list/ListBox.h"
#include "tests/support/TileDataWriter.h"

#include <QMessageBox>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class QAction;
class QLineEdit;
class QProcess;
class QWidget;
class TForm1;

// Answers the modal dialogs that the window opens, so that no test can hang
// on one. Answers queued with Then are used in order, one per dialog; a
// message box without a queued answer is recorded and closed with OK, any
// other dialog without one is cancelled and recorded as unexpected. The
// layout question, unanswered, gets its default answer, as Return gives:
// the layout the file's names read in, else read-only.
class ModalAnswers : public QObject
{
public:
    struct MessageBox
    {
        QString Title;
        QString Text;
        QMessageBox::Icon Icon;
        QRect Geometry;
    };

    ModalAnswers();

    void Then(std::function<void(QWidget *)> Answer);

    QList<MessageBox> Boxes;
    QStringList Unexpected;

private:
    void Poll();

    QTimer FTimer;
    std::deque<std::function<void(QWidget *)>> FAnswers;
};

// A folder with a tile data file whose names are short, distinct and free of
// the words the tests look for ("n" and the tile number), everything else
// random. Tests set the records they need before Write.
class TileFolder
{
public:
    explicit TileFolder(std::uint32_t Seed = 7);

    TileDataWriter Writer;
    QString Path() const;    // the tile data file
    QString Folder() const;  // its directory, without a trailing separator
    void Write() const;
    // The record as the file now holds it.
    TileDataWriter::Record SavedRecord(int Tile) const;

private:
    QTemporaryDir FDir;
};

// The name every tile of a TileFolder starts with.
std::string DefaultName(int Tile);

// Answers a message box by pressing the button with the given text, or the
// Return key for "Return"; Seen receives the box's text and its buttons'
// texts.
std::function<void(QWidget *)> Press(const QString &Button, QStringList *Seen);
// Answers a file dialog by choosing Path (an empty path cancels it).
std::function<void(QWidget *)> ChooseFile(const QString &Path);
// Answers an input dialog with Text.
std::function<void(QWidget *)> Type(const QString &Text);

// Builds the window, answering the start-up dialog with Path (an empty path
// cancels it), shows it and waits until it is the active window.
// Then, when given, answers the dialog after it (the layout question).
std::unique_ptr<TForm1> OpenWindow(ModalAnswers &Answers, const QString &Path,
                                   const std::function<void(QWidget *)> &Then = {});

// The tile list: the text of a line as the list shows it, the number of
// lines, and where a line stands in the list's viewport.
QString ListLine(const TForm1 &Window, int Row);
int ListCount(const TForm1 &Window);
// The height of the menu bar, above the form's own controls.
int MenuHeight(const TForm1 &Window);
QRect LineRect(const TForm1 &Window, int Row);

// User actions on the window.
void ClickLine(TForm1 &Window, int Row);
// Clicks line First, then Shift+clicks line Last.
void SelectRange(TForm1 &Window, int First, int Last);
void ClickInto(QWidget *Widget);
// Presses a shortcut with the list focused: the boxes keep Ctrl+Z and the
// like for their own text.
void Shortcut(TForm1 &Window, QKeyCombination Keys);
// Focuses the box with a click, selects its text and types Text over it.
void TypeInto(QLineEdit *Box, const QString &Text);
// Focuses the box and puts Text into it from the clipboard, as a user's
// paste does, past the key filter.
void PasteInto(QLineEdit *Box, const QString &Text);
int SelectedRow(const TForm1 &Window);
// The menu entry with the given text ("&Reload").
QAction *MenuAction(const TForm1 &Window, const QString &Text);
// Drops the file on the window, as from a file manager.
void DropFile(TForm1 &Window, const QString &Path);
QString FocusName();

// Starts a process of its own that keeps the file open for writing, so that
// a save is refused, and waits until it holds the file. Killing it lets the file go.
void HoldOpen(QProcess &Holder, const QString &Path);

// The fixture of the window tests: fresh dialog answers and a fresh tile
// folder for every test, and a check that no dialog came unexpectedly.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<ModalAnswers> Answers;
    std::unique_ptr<TileFolder> Files;

    // Writes the folder's tile data file and opens a window on it.
    std::unique_ptr<TForm1> Open();
    // The same for a file the test cut short, read as classic: the length of
    // a short file cannot tell its layout, so the window asks.
    std::unique_ptr<TForm1> OpenShort();

private slots:
    void init();
    void cleanup();
};
