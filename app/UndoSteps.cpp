#include "app/UndoSteps.h"

#include "tiledata/TileDataReader.h"

TUndoSteps::TUndoSteps(TRecordStep::StoreSource Store, TRecordStep::Changed Shown, QObject *Parent)
    : QObject(Parent)
    , FStore(std::move(Store))
    , FShown(std::move(Shown))
{
}

void TUndoSteps::Edit(std::unique_ptr<TRecordStep> Step, const std::function<void()> &Change)
{
    TTileData *store = FStore();
    if (!store) {
        Change();
        return;
    }
    Step->Before(*store);
    Change();
    if (!Step->After(*store))
        return;
    Step->Bind(FStore, FShown);
    FStack.push(Step.release());
}
