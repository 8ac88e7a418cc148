#include "app/check/ProblemsTools.h"

#include "app/check/FindingsLine.h"
#include "app/check/ProblemsFilter.h"
#include "app/check/ProblemsTip.h"
#include "app/check/TileProblems.h"

#include <QAbstractItemView>
#include <QFrame>

namespace {

constexpr int LineHeight = 16;
constexpr int Inset = 3;

} // namespace

TProblemsTools::TProblemsTools(TTileDocument &Document, const Anchors &Parts, QObject *Parent)
    : QObject(Parent)
{
    Problems = new TTileProblems(Document, this);
    Filter = new TProblemsFilter(*Problems, *Parts.Filter, this);
    new TProblemsTip(*Problems, *Parts.List);
    // Along the art view's foot: a picture tall enough to reach it is cut,
    // never the line, which has a background of its own.
    Line = new TFindingsLine(Document, *Problems, Parts.ArtPanel);
    Line->setGeometry(Inset, Parts.ArtPanel->height() - LineHeight - Inset, Parts.ArtPanel->width() - 2 * Inset,
                      LineHeight);
    Line->setAutoFillBackground(true);
    Line->raise();
}
