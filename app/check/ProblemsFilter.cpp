#include "app/check/ProblemsFilter.h"

#include "app/check/TileProblems.h"
#include "app/list/FilterBar.h"

#include <QToolButton>

TProblemsFilter::TProblemsFilter(TTileProblems &Problems, TFilterBar &Filter, QObject *Parent)
    : QObject(Parent)
{
    Switch = new QToolButton(&Filter);
    Switch->setObjectName(QStringLiteral("ProblemsOnly"));
    Switch->setText(QStringLiteral("Problems"));
    Switch->setToolTip(QStringLiteral("Show just the tiles where the tile data and the files beside it disagree"));
    Switch->setCheckable(true);
    Filter.AddCondition(
        Switch, [&Problems](TTileKind Kind, int Tile) { return Problems.Has(Kind, Tile); },
        [&Problems] { return Problems.Unchecked(); });
}
