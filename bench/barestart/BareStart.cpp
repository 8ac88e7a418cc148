// The cheapest program that starts the way the editor does: the same
// open-file dialog, then a window with a 16,383-line list, and nothing else
// (no file is read). Its start-up time is the baseline the editor's is
// measured against.
#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QStringList>
#include <QWidget>

namespace {

constexpr int LineCount = 16383;

QStringList ListLines()
{
    QStringList lines;
    lines.reserve(LineCount);
    for (int tile = 0; tile < LineCount; ++tile)
        lines.append(QStringLiteral("%1 tile").arg(QString::number(tile, 16).toUpper(), 4, QLatin1Char('0')));
    return lines;
}

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
    auto *list = new QListWidget(&window);
    list->setGeometry(8, 8, 200, 519);
    // As the editor's list does; without it the list measures every line
    // before it first shows, and the baseline would be the slower one.
    list->setUniformItemSizes(true);
    list->addItems(ListLines());
    window.show();
    return application.exec();
}
