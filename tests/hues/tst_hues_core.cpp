#include "art/huechooser.h"
#include "tests/support/HueWriter.h"

#include <QTemporaryDir>
#include <QtTest>

// A program without a GUI loads the table too: no window, no cursor.
class HueTableCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsWithoutGui();
};

void HueTableCoreTest::loadsWithoutGui()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hues.mul"));
    HueWriter writer(2);
    writer.SetColor(16, 30, 0x7FFF);
    writer.WriteTo(path);

    THUEColorChooser table;
    table.LoadHues(path);

    QCOMPARE(int(table.Entries().size()), 16);
    QCOMPARE(table.GetHueColor(QStringLiteral("0010"), 30), 0x00F8F8F8u);
}

QTEST_GUILESS_MAIN(HueTableCoreTest)
#include "tst_hues_core.moc"
