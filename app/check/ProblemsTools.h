#pragma once

#include <QObject>

class QAbstractItemView;
class QFrame;
class TFilterBar;
class TFindingsLine;
class TProblemsFilter;
class TTileDocument;
class TTileProblems;

// Where the open file and the files beside it disagree, in the main
// window: the "Problems" switch of the filter, the current tile's findings
// in a line at the foot of the art view, under its picture, and each
// tile's in the list's tooltip.
class TProblemsTools : public QObject
{
    Q_OBJECT

public:
    struct Anchors
    {
        QFrame *ArtPanel; // the art view's area
        QAbstractItemView *List;
        TFilterBar *Filter;
    };

    TProblemsTools(TTileDocument &Document, const Anchors &Parts, QObject *Parent);

    TTileProblems *Problems = nullptr;
    TProblemsFilter *Filter = nullptr;
    TFindingsLine *Line = nullptr;
};
