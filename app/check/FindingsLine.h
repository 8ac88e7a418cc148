#pragma once

#include <QLabel>

class TTileDocument;
class TTileProblems;

// The current tile's findings in one line, under its picture and in the
// Pictures window's status line: the first, in the colour of its severity,
// and how many more; the line's tooltip has them all. Empty while the tile
// has none. It follows the selection and every edit at once.
class TFindingsLine : public QLabel
{
    Q_OBJECT

public:
    TFindingsLine(TTileDocument &Document, TTileProblems &Problems, QWidget *Parent);

    // The whole line, before it is cut to the label's width.
    const QString &Line() const { return FLine; }

protected:
    void resizeEvent(QResizeEvent *Event) override;

private:
    void Show();
    void Fit();

    TTileDocument &FDocument;
    TTileProblems &FProblems;
    QString FLine;
};
