#include "app/check/ProblemsTip.h"

#include "app/check/TileProblems.h"
#include "app/list/TileListModel.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

TProblemsTip::TProblemsTip(TTileProblems &Problems, QAbstractItemView &List)
    : QObject(&List)
    , FProblems(Problems)
    , FList(List)
{
    List.viewport()->installEventFilter(this);
}

bool TProblemsTip::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() != QEvent::ToolTip)
        return QObject::eventFilter(Watched, Event);
    const auto *help = static_cast<QHelpEvent *>(Event);
    const QModelIndex index = FList.indexAt(help->pos());
    const auto *lines = qobject_cast<const TTileListModel *>(index.model());
    const QString text
        = lines ? TTileProblems::Text(FProblems.Of(lines->Kind(), lines->TileAt(index.row()))) : QString();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, FList.viewport(), FList.visualRect(index));
    return true;
}
