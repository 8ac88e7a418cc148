#pragma once

#include "app/document/TileField.h"

#include <QObject>
#include <QString>

#include <array>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class TCompareSession;
class TTileData;
class TTileDocument;

// What the other file holds for the current tile, while the window
// compares: every number box, flag box and the name box whose value
// differs is written in bold, with the other file's value in its tooltip,
// and a panel below the picture names the other file's tile and lists the
// values that differ there.
class TOtherValues : public QObject
{
    Q_OBJECT

public:
    // The window's boxes that show the current tile, and the control below
    // which the panel stands.
    struct Boxes
    {
        std::vector<std::pair<QLineEdit *, TTileField>> Numbers;
        std::array<QCheckBox *, 64> Flags;
        QLineEdit *Name;
        QWidget *Above;
    };

    TOtherValues(const TTileDocument &Document, const TCompareSession &Session, QWidget *Window, Boxes Parts);

    // Shows the current tile's differences anew.
    void Show();

    QLabel *Panel = nullptr;

private:
    // Bold with Tip, or plain without one; a box is changed only when its
    // mark comes or goes.
    void Mark(QWidget *Box, bool Differs, const QString &Tip);
    void Clear();
    // The differing values of the tile in words, each field that differs
    // marked on the way.
    QString MarkNumbers(const TTileData &Ours, const TTileData &Other, int Tile);
    QString MarkFlags(const TTileData &Ours, const TTileData &Other, int Tile);

    const TTileDocument &FDocument;
    const TCompareSession &FSession;
    Boxes FBoxes;
    std::vector<QWidget *> FMarked;
};
