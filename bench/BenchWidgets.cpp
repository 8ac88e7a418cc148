#include "bench/BenchWidgets.h"

#include <QApplication>
#include <QFontDatabase>

std::unique_ptr<QListWidget> MakeShownTileList()
{
    auto list = std::make_unique<QListWidget>();
    list->setUniformItemSizes(true);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list->resize(209, 516);
    list->show();
    SettleWidgets();
    return list;
}

void SettleWidgets()
{
    QApplication::processEvents();
}
