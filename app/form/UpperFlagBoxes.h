#pragma once

#include <QObject>

#include <array>

class QCheckBox;
class QGroupBox;
class QToolButton;

// Flag bits 32 to 63, which only a newer-layout file holds: a second page of
// the Tileflags group. Its 32 boxes stand where the first page's do, so the
// group keeps its size at every scale; a small button in the gap between the
// group's upper and lower halves turns between the pages. For a classic file neither the button nor
// the boxes are shown.
class TUpperFlagBoxes : public QObject
{
    Q_OBJECT

public:
    // Lower holds the first page's boxes, bit 0 to 31; the new boxes are
    // children of Group and take their places.
    TUpperFlagBoxes(QGroupBox *Group, const std::array<QCheckBox *, 32> &Lower);

    // The box of bit 32 + k.
    QCheckBox *Box(int k) const { return FUpper[std::size_t(k)]; }
    QToolButton *PageButton() const { return FPageButton; }

    // Whether the file has the upper bits; without them the first page shows.
    void SetAvailable(bool Available);
    bool IsUpperPageShown() const { return FUpperShown; }
    void ShowUpperPage(bool Upper);

private:
    std::array<QCheckBox *, 32> FLower;
    std::array<QCheckBox *, 32> FUpper{};
    QToolButton *FPageButton = nullptr;
    bool FUpperShown = false;
};
