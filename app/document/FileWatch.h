#pragma once

#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;
class TPathWatch;
class TTileDocument;

// Watches the open tile data file for changes by other programs, and says so
// in a bar at the top of the window rather than in a box that stops the
// work. The window's own saves are told apart by the file's size and time
// as they were right after the save. The watch follows the document: each
// load watches its file anew. Other parts of the window can offer an action
// of their own in the same bar.
class TFileWatch : public QFrame
{
    Q_OBJECT

public:
    TFileWatch(TTileDocument &Document, QWidget *Parent);

    // Watches Path (empty: nothing), which the window has just loaded.
    void Watch(const QString &Path);
    // The window has just written the file itself.
    void Wrote();
    // Shows the bar with Message and a button that runs Act, in place of
    // the open file's Reload; a later change of the open file puts that
    // back. Loads and saves of the open file leave such an offer standing.
    void Offer(const QString &Message, const QString &Button, std::function<void()> Act);
    // Takes back an offer standing in the bar, and the bar with it.
    void Withdraw();

    QLabel *Text = nullptr;
    QPushButton *ReloadButton = nullptr;

signals:
    // The bar came or went.
    void Toggled();
    // The bar's Reload button.
    void ReloadRequested();

private:
    void Check();
    void ShowBar(bool Shown);
    void Press();
    // The button reloads the open file again.
    void ForgetOffer();

    TPathWatch *FWatch;
    TTileDocument &FDocument;
    // What the button does while another part offers its action.
    std::function<void()> FOffered;
};
