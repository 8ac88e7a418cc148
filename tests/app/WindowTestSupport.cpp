#include "tests/app/WindowTestSupport.h"

#include "app/form/Unit1.h"
#include "tests/support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"

#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

namespace {

// The window keeps settings, the Pictures window's place and cell size
// among them: a test's go to a folder of its own process, never to the
// user's settings, and no test reads what an earlier run left.
void KeepSettingsApart()
{
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir folder;
    // A file of settings: Windows' own format would be its registry.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(KeepSettingsApart)

ModalAnswers::ModalAnswers()
{
    connect(&FTimer, &QTimer::timeout, this, &ModalAnswers::Poll);
    FTimer.start(5);
}

void ModalAnswers::Then(std::function<void(QWidget *)> Answer)
{
    FAnswers.push_back(std::move(Answer));
}

void ModalAnswers::Poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (!FAnswers.empty()) {
        const auto answer = std::move(FAnswers.front());
        FAnswers.pop_front();
        answer(modal);
        return;
    }
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        Boxes.append({box->windowTitle(), box->text(), box->icon(), box->geometry()});
        const QList<QAbstractButton *> buttons = box->buttons();
        const bool layoutQuestion = std::any_of(buttons.begin(), buttons.end(), [](const QAbstractButton *Button) {
            return Button->text() == QLatin1String("Read-only");
        });
        if (layoutQuestion && box->defaultButton())
            box->defaultButton()->click();
        else
            box->accept();
        return;
    }
    Unexpected.append(modal->windowTitle());
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

std::string DefaultName(int Tile)
{
    return "n" + std::to_string(Tile);
}

TileFolder::TileFolder(std::uint32_t Seed)
    : Writer(Seed)
{
    Writer.RandomizeRecords();
    for (int tile = 0; tile < TileDataWriter::Tiles; ++tile) {
        std::string raw = DefaultName(tile);
        raw.push_back('\0');
        // Leftovers after the terminating zero are no part of the name.
        while (raw.size() < 20)
            raw.push_back(char(0xA0 + raw.size()));
        Writer.SetRawName(tile, raw);
    }
}

QString TileFolder::Path() const
{
    return FDir.filePath(QStringLiteral("tiledata.mul"));
}

QString TileFolder::Folder() const
{
    return FDir.path();
}

void TileFolder::Write() const
{
    Writer.WriteTo(Path());
}

TileDataWriter::Record TileFolder::SavedRecord(int Tile) const
{
    TileDataWriter saved(0, 0);
    saved.Bytes() = TestFiles::ReadBytes(Path());
    return saved.ReadRecord(Tile);
}

std::function<void(QWidget *)> Press(const QString &Button, QStringList *Seen)
{
    return [=](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        const qsizetype buttons = Seen->size() + 1;
        *Seen << box->text();
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            *Seen << button->text();
            if (button->text() == Button)
                chosen = button;
        }
        std::sort(Seen->begin() + buttons, Seen->end()); // in the layout's order otherwise
        if (Button == QLatin1String("Return"))
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
        else if (chosen)
            chosen->click();
        else
            box->reject();
    };
}

std::function<void(QWidget *)> ChooseFile(const QString &Path)
{
    return [Path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        if (Path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(Path);
        // Accepting checks the typed name as the OK button does.
        static_cast<QDialog *>(dialog)->accept();
    };
}

std::function<void(QWidget *)> Type(const QString &Text)
{
    return [Text](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        dialog->setTextValue(Text);
        dialog->accept();
    };
}

std::unique_ptr<TForm1> OpenWindow(ModalAnswers &Answers, const QString &Path,
                                   const std::function<void(QWidget *)> &Then)
{
    Answers.Then(ChooseFile(Path));
    if (Then)
        Answers.Then(Then);
    auto window = std::make_unique<TForm1>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the window did not become active");
    return window;
}

void ClickLine(TForm1 &Window, int Row)
{
    Window.ListBox1->scrollTo(Window.ListModel->index(Row));
    const QRect rect = LineRect(Window, Row);
    QTest::mouseClick(Window.ListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void SelectRange(TForm1 &Window, int First, int Last)
{
    ClickLine(Window, First);
    QTest::mouseClick(Window.ListBox1->viewport(), Qt::LeftButton, Qt::ShiftModifier, LineRect(Window, Last).center());
}

QString ListLine(const TForm1 &Window, int Row)
{
    return Window.ListModel->index(Row).data().toString();
}

int ListCount(const TForm1 &Window)
{
    return Window.ListModel->rowCount();
}

int MenuHeight(const TForm1 &Window)
{
    const auto *menus = Window.findChild<QWidget *>(QStringLiteral("MenuBar"));
    return menus ? menus->geometry().bottom() + 1 : 0;
}

QRect LineRect(const TForm1 &Window, int Row)
{
    return Window.ListBox1->visualRect(Window.ListModel->index(Row));
}

void ClickInto(QWidget *Widget)
{
    QTest::mouseClick(Widget, Qt::LeftButton, Qt::NoModifier, QPoint(4, Widget->height() / 2));
}

void Shortcut(TForm1 &Window, QKeyCombination Keys)
{
    // Shortcuts belong to the active window, which a dialog just closed
    // may have left inactive on the offscreen platform.
    Window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Window));
    Window.ListBox1->setFocus();
    QTest::keyClick(Window.ListBox1, Keys.key(), Keys.keyboardModifiers());
}

void TypeInto(QLineEdit *Box, const QString &Text)
{
    ClickInto(Box);
    Box->selectAll();
    QTest::keyClicks(Box, Text);
}

void PasteInto(QLineEdit *Box, const QString &Text)
{
    ClickInto(Box);
    Box->selectAll();
    QGuiApplication::clipboard()->setText(Text);
    QTest::keyClick(Box, Qt::Key_V, Qt::ControlModifier);
}

int SelectedRow(const TForm1 &Window)
{
    const QModelIndexList selected = Window.ListBox1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

QString FocusName()
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

void HoldOpen(QProcess &Holder, const QString &Path)
{
#ifdef _WIN32
    Holder.start(QStringLiteral(SHARE_HOLDER), {QStringLiteral("write"), Path});
#else
    // A writer: a save waits out a mere reader, but never writes beside
    // another writer.
    Holder.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 3>>\"$1\"; echo held; exec cat"),
                                        QStringLiteral("sh"), Path});
#endif
    QVERIFY(Holder.waitForReadyRead(10000));
}

std::unique_ptr<TForm1> WindowTest::Open()
{
    Files->Write();
    return OpenWindow(*Answers, Files->Path());
}

std::unique_ptr<TForm1> WindowTest::OpenShort()
{
    Files->Write();
    // The question comes right after the open-file dialog.
    static QStringList seen;
    return OpenWindow(*Answers, Files->Path(), Press(QStringLiteral("Classic"), &seen));
}

void WindowTest::init()
{
    Answers = std::make_unique<ModalAnswers>();
    Files = std::make_unique<TileFolder>();
}

void WindowTest::cleanup()
{
    QVERIFY2(Answers->Unexpected.isEmpty(), qPrintable(Answers->Unexpected.join(QStringLiteral(", "))));
    Answers.reset();
    Files.reset();
}

void DropFile(TForm1 &Window, const QString &Path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path)});
    const QPoint at(300, 300);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window, &drop);
}

QAction *MenuAction(const TForm1 &Window, const QString &Text)
{
    for (QAction *action : Window.findChildren<QAction *>()) {
        if (action->text() == Text)
            return action;
    }
    qFatal("no menu entry %s", qPrintable(Text));
}
