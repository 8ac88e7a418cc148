#include "app/links/UsedByFilter.h"

#include "app/list/FilterBar.h"

#include <QToolButton>

TUsedByFilter::TUsedByFilter(TFilterBar &Filter, QObject *Parent)
    : QObject(Parent)
    , FFilter(Filter)
{
    Switch = new QToolButton(&Filter);
    Switch->setObjectName(QStringLiteral("UsedByOnly"));
    Switch->setText(QStringLiteral("Used by"));
    Switch->setToolTip(QStringLiteral("Show just the tiles that share the texture or animation last asked for"));
    Switch->setCheckable(true);
    // Until the user asks, the switch keeps every tile.
    Filter.AddCondition(Switch, [this](TTileKind Kind, int Tile) { return !FKeep || (Kind == FKind && FKeep(Tile)); });
}

void TUsedByFilter::Show(TTileKind Kind, Keep Keeps, const QString &What)
{
    FKind = Kind;
    FKeep = std::move(Keeps);
    Switch->setToolTip(QStringLiteral("Show just the tiles that share ") + What);
    if (Switch->isChecked())
        FFilter.ConditionChanged();
    else
        Switch->setChecked(true);
}
