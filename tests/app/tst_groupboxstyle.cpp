// The program's style draws each group box's title and frame line clear of
// the controls the window places in it.

#include "app/form/GroupBoxStyle.h"
#include "app/form/Unit1.h"
#include "tests/app/WindowTestSupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QStyleOptionGroupBox>
#include <QTest>

class GroupBoxStyleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(new TGroupBoxStyle);
        Window = OpenWindow(Answers, QString());
    }

    void cleanupTestCase() { Window.reset(); }

    void frameAndTitleClearTheControls_data()
    {
        QTest::addColumn<QString>("box");
        for (const char *name : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void frameAndTitleClearTheControls()
    {
        QFETCH(QString, box);
        auto *group = Window->findChild<QGroupBox *>(box);
        QVERIFY(group);
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QStyle *style = group->style();
        const QRect frame = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, group);
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);

        // The line runs through the title.
        QVERIFY2(frame.top() > title.top() && frame.top() < title.bottom(),
                 qPrintable(QStringLiteral("line at %1, title %2 to %3").arg(frame.top()).arg(title.top()).arg(title.bottom())));
        // Beside the title, on the line's row, the line has stopped.
        const QImage image = group->grab().toImage();
        const QRgb line = image.pixel(frame.right() - 8, frame.top());
        QVERIFY(image.pixel(title.left() - 1, frame.top()) != line);
        QVERIFY(image.pixel(title.right() + 1, frame.top()) != line);
        // Every control lies inside the frame's lines and below the title.
        const QRect inside = frame.adjusted(1, 1, -1, -1);
        for (const QWidget *child : group->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect place = child->geometry();
            QVERIFY2(inside.contains(place) && place.top() > title.bottom(),
                     qPrintable(child->objectName() + QStringLiteral(" crosses the frame or title")));
        }
    }

private:
    ModalAnswers Answers;
    std::unique_ptr<TForm1> Window;
};

QTEST_MAIN(GroupBoxStyleTest)
#include "tst_groupboxstyle.moc"
