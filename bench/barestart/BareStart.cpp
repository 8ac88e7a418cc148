// The cheapest program that starts the way the editor does: the same
// open-file dialog, then a window with a list of tile lines, and nothing
// else (no file is read). Its start-up time is the baseline the editor's is
// measured against.
//
//   barestart                  16,383 lines in a list widget
//   barestart --model LINES    LINES lines in a list view over a model that
//                              makes each line when it is drawn, the faster
//                              way for the 65,536 tiles of a newer file
#include <QAbstractListModel>
#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QListWidget>
#include <QStringList>
#include <QWidget>

namespace {

constexpr int LineCount = 16383;

QString LineOf(int tile)
{
    return QStringLiteral("%1 tile").arg(QString::number(tile, 16).toUpper(), 4, QLatin1Char('0'));
}

QStringList ListLines()
{
    QStringList lines;
    lines.reserve(LineCount);
    for (int tile = 0; tile < LineCount; ++tile)
        lines.append(LineOf(tile));
    return lines;
}

class LineModel : public QAbstractListModel
{
public:
    LineModel(int Lines, QObject *Parent)
        : QAbstractListModel(Parent)
        , FLines(Lines)
    {
    }
    int rowCount(const QModelIndex &Parent) const override { return Parent.isValid() ? 0 : FLines; }
    QVariant data(const QModelIndex &Index, int Role) const override
    {
        return Role == Qt::DisplayRole ? QVariant(LineOf(Index.row())) : QVariant();
    }

private:
    int FLines;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    QFileDialog dialog(nullptr, QStringLiteral("Choose Tiledata"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Mul Filez (*.mul)"), QStringLiteral("all Filez (*)")});
    dialog.selectFile(QStringLiteral("tiledata.mul"));
    if (dialog.exec() != QDialog::Accepted)
        return 1;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Start"));
    window.resize(718, 535);
    const QStringList arguments = application.arguments();
    const qsizetype model = arguments.indexOf(QStringLiteral("--model"));
    if (model > 0 && model + 1 < arguments.size()) {
        auto *view = new QListView(&window);
        view->setGeometry(8, 8, 200, 519);
        view->setUniformItemSizes(true);
        view->setModel(new LineModel(arguments.at(model + 1).toInt(), view));
    } else {
        auto *list = new QListWidget(&window);
        list->setGeometry(8, 8, 200, 519);
        // As the editor's list does; without it the list measures every line
        // before it first shows, and the baseline would be the slower one.
        list->setUniformItemSizes(true);
        list->addItems(ListLines());
    }
    window.show();
    return application.exec();
}
