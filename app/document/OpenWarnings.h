#pragma once

#include <QString>

class QWidget;
class TLayoutGuess;
class TTileData;
enum class TLayoutAnswer;
enum class TJournalAnswer;

// What a user must know about a file before editing it, each said once when
// it is opened: that it is too short to hold every tile, or that its length
// fits neither layout exactly, so that its tiles may not be where either
// layout puts them.
class TOpenWarnings
{
public:
    // The warning texts for the file in Store, empty when there is none.
    static QString Text(const TTileData &Store);
    // Shows Text in a warning box when there is one.
    static void Show(QWidget *Parent, const TTileData &Store);
    // Asks how to read a file of Size bytes whose length cannot tell its
    // layout (it fits neither, or is too short for either), or whose names
    // read as the layout its length does not say: classic, newer,
    // or read-only (what Escape gives). The layout its names read as text in
    // is proposed, and is the default; without one, read-only is.
    static TLayoutAnswer AskLayout(QWidget *Parent, const QString &FileName, qint64 Size, const TLayoutGuess &Guess);
    // Says what the open did with a cut-off save, in an information box.
    static void TellJournal(QWidget *Parent, const QString &Text);
    // Asks about a cut-off save over whose Tiles another program wrote
    // since: complete it over them (offered unless Unfinishable says why
    // not), keep the file as it is, or open nothing (what Escape gives).
    static TJournalAnswer AskJournal(QWidget *Parent, const QString &FileName, const QString &Tiles,
                                     const QString &Unfinishable);
};
