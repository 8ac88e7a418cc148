#pragma once

#include <QString>

class QWidget;
class TTileData;
enum class TLayoutAnswer;

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
    // Asks how to read a file of Size bytes that fits neither layout:
    // classic, newer, or read-only (the default, and what Escape gives).
    static TLayoutAnswer AskLayout(QWidget *Parent, const QString &FileName, qint64 Size);
};
