#pragma once

#include <QObject>

class QToolButton;
class TFilterBar;
class TTileProblems;

// The filter's "Problems" switch: it keeps the tiles with findings, in the
// list and the Pictures grid alike, and the status bar counts them as it
// counts any filter's tiles, saying which files beside were not there to
// check against. An edit that mends a tile shows at once in its findings
// line; the list keeps the tile, still selected, until the filter is
// applied again, as it does for a tile renamed out of a name filter.
class TProblemsFilter : public QObject
{
    Q_OBJECT

public:
    TProblemsFilter(TTileProblems &Problems, TFilterBar &Filter, QObject *Parent);

    QToolButton *Switch = nullptr; // owned by the filter bar
};
