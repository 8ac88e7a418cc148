#include "app/document/OpenWarnings.h"

#include "app/document/ErrorBox.h"
#include "app/document/TileDocument.h"
#include "tiledata/LayoutGuess.h"
#include "tiledata/TileDataReader.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

QString TOpenWarnings::Text(const TTileData &Store)
{
    return Store.ShortFileWarning();
}

// A wrong guess would put every edit into bytes the game reads as another
// field, so without the names' word the safe answer is the default.
TLayoutAnswer TOpenWarnings::AskLayout(QWidget *Parent, const QString &FileName, qint64 Size, const TLayoutGuess &Guess)
{
    const auto describe = [](const TTileLayout &Layout) { return QString::fromStdString(Layout.Description()); };
    QString length = QStringLiteral("which fits neither tile data layout exactly");
    if (TTileLayout::IsShortSize(Size))
        length = QStringLiteral("too short for either tile data layout, so its length cannot tell which it is");
    else if (Guess.ContradictsLength())
        length = QStringLiteral("the length of a %1 tile data file").arg(TTileLayout::ForFileSize(Size).Name());
    QString reason = QString::fromStdString(Guess.Reason());
    reason[0] = reason[0].toUpper();
    const QString text = QStringLiteral("%1 is %2 bytes long, %3. %4.\n\n"
                                        "Read it as the classic layout (%5), as the newer layout (%6), or open it "
                                        "read-only?")
                             .arg(QFileInfo(FileName).fileName(), QLocale(QLocale::English).toString(Size), length,
                                  reason, describe(TTileLayout::Classic()), describe(TTileLayout::NewerWithin(Size)));
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::NoButton, Parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *classic = box.addButton(QStringLiteral("Classic"), QMessageBox::AcceptRole);
    QPushButton *newer = box.addButton(QStringLiteral("Newer"), QMessageBox::AcceptRole);
    QPushButton *readOnly = box.addButton(QStringLiteral("Read-only"), QMessageBox::RejectRole);
    box.setDefaultButton(!Guess.IsSettled() ? readOnly : Guess.IsNewer() ? newer : classic);
    box.setEscapeButton(readOnly);
    box.exec();
    if (box.clickedButton() == classic)
        return TLayoutAnswer::Classic;
    return box.clickedButton() == newer ? TLayoutAnswer::Newer : TLayoutAnswer::ReadOnly;
}

void TOpenWarnings::TellJournal(QWidget *Parent, const QString &Text)
{
    QMessageBox box(QMessageBox::Information, ApplicationTitle(), Text, QMessageBox::Ok, Parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

TJournalAnswer TOpenWarnings::AskJournal(QWidget *Parent, const QString &FileName, const QString &Tiles,
                                         const QString &Unfinishable)
{
    QString text = QStringLiteral("The last save of %1 was cut off, and another program has changed these tiles "
                                  "since: %2.")
                       .arg(QFileInfo(FileName).fileName(), Tiles);
    text += Unfinishable.isEmpty() ? QStringLiteral("\n\nComplete the save over the other program's changes, or keep "
                                                    "the file as it is and give the save up?")
                                   : QStringLiteral("\n\nThe save cannot be completed: %1. Keep the file as it is "
                                                    "and give the save up?")
                                         .arg(Unfinishable);
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::NoButton, Parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *complete = Unfinishable.isEmpty()
                                ? box.addButton(QStringLiteral("Complete the save"), QMessageBox::AcceptRole)
                                : nullptr;
    QPushButton *keep = box.addButton(QStringLiteral("Keep the file"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (complete && box.clickedButton() == complete)
        return TJournalAnswer::Complete;
    return box.clickedButton() == keep ? TJournalAnswer::Keep : TJournalAnswer::Cancel;
}

void TOpenWarnings::Show(QWidget *Parent, const TTileData &Store)
{
    const QString text = Text(Store);
    if (text.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::Ok, Parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
