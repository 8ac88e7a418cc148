#include "app/check/FindingsLine.h"

#include "app/check/TileProblems.h"
#include "app/document/TileDocument.h"

#include <QResizeEvent>

#include <algorithm>

namespace {

QColor SeverityColour(TSeverity Severity)
{
    switch (Severity) {
    case TSeverity::Error:
        return QColor(0xB0, 0x00, 0x00);
    case TSeverity::Warning:
        return QColor(0x8A, 0x5A, 0x00);
    case TSeverity::Note:
        break;
    }
    return QColor(0x40, 0x40, 0x40);
}

} // namespace

TFindingsLine::TFindingsLine(TTileDocument &Document, TTileProblems &Problems, QWidget *Parent)
    : QLabel(Parent)
    , FDocument(Document)
    , FProblems(Problems)
{
    setObjectName(QStringLiteral("FindingsLine"));
    setTextFormat(Qt::PlainText);
    connect(&Document, &TTileDocument::SelectionChanged, this, &TFindingsLine::Show);
    connect(&Document, &TTileDocument::SectionChanged, this, &TFindingsLine::Show);
    connect(&Problems, &TTileProblems::Changed, this, [this](TTileKind Kind, const std::vector<int> &Tiles) {
        const int current = FDocument.CurrentTile();
        if (Kind == FDocument.Section()
            && (Tiles.empty() || std::find(Tiles.begin(), Tiles.end(), current) != Tiles.end()))
            Show();
    });
    Show();
}

// Nothing is checked while no tile is current: opening a file reads none
// of the files beside it.
void TFindingsLine::Show()
{
    const int tile = FDocument.CurrentTile();
    const std::vector<TFinding> findings = tile < 0 ? std::vector<TFinding>() : FProblems.Of(FDocument.Section(), tile);
    FLine = TTileProblems::Line(findings);
    setToolTip(TTileProblems::Text(findings));
    if (!findings.empty()) {
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, SeverityColour(CheckRules::Severity(findings.front().Rule)));
        setPalette(colours);
    }
    setVisible(!FLine.isEmpty());
    Fit();
}

void TFindingsLine::Fit()
{
    setText(fontMetrics().elidedText(FLine, Qt::ElideRight, width()));
}

void TFindingsLine::resizeEvent(QResizeEvent *Event)
{
    QLabel::resizeEvent(Event);
    Fit();
}
