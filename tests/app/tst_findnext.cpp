// Find Next goes once all the way round: the tile it starts after is the
// last one it looks at.

#include "app/form/FindNext.h"
#include "tests/support/LayoutTileWriter.h"
#include "tiledata/TileDataReader.h"

#include <QTemporaryDir>
#include <QtTest>

class FindNextTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyMatchEndsTheTurn_data()
    {
        QTest::addColumn<bool>("land");
        QTest::addColumn<int>("match");
        QTest::addColumn<int>("from");
        for (const bool land : {false, true}) {
            QTest::addRow("%s: the selected tile", land ? "land" : "item") << land << 5 << 5;
            QTest::addRow("%s: the last tile, nothing selected", land ? "land" : "item")
                << land << (land ? 0x3FFF : 0x1F) << -1;
        }
    }

    void onlyMatchEndsTheTurn()
    {
        QFETCH(bool, land);
        QFETCH(int, match);
        QFETCH(int, from);
        LayoutTileWriter file = LayoutTileWriter::Newer(1, 7);
        if (land)
            file.SetLand(match, {0, 0, "a needle"});
        else
            file.SetItem(match, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "a needle"});
        const QTemporaryDir dir;
        file.WriteTo(dir.filePath("tiledata.mul"));
        TTileData store(dir.filePath("tiledata.mul"));
        store.LoadTiles();
        QStringList said;
        TFindNext find([&](const QString &Text) { said << Text; });
        find.Found("NEEDLE", match);
        QCOMPARE(find.Next(store, land ? TTileKind::Land : TTileKind::Item, from), match);
        QCOMPARE(said, QStringList());
    }
};

QTEST_GUILESS_MAIN(FindNextTest)
#include "tst_findnext.moc"
