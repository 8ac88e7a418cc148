#include "app/document/SaveQuestions.h"

#include "app/document/CountWords.h"
#include "app/document/ErrorBox.h"

#include "tiledata/TileDataReader.h"

#include <QFileInfo>
#include <QPushButton>

namespace {

// Button texts are set here rather than left to the desktop's theme, which
// renames some of them ("Close without Saving" for Discard).
void SetButtonText(QMessageBox &Box, QMessageBox::StandardButton Button, const QString &Text)
{
    Box.button(Button)->setText(Text);
}

QString NameOf(const QString &FileName)
{
    return QFileInfo(FileName).fileName();
}

// "0x1A", "0x1A and 0x2F", "0x1A, 0x2F and land 0x3": at most a dozen named,
// the rest counted.
QString TileList(const TSaveConflicts &Conflicts)
{
    QStringList names;
    for (const int tile : Conflicts.Items)
        names << QLatin1String("0x") + QString::number(tile, 16).toUpper();
    for (const int tile : Conflicts.Land)
        names << QLatin1String("land 0x") + QString::number(tile, 16).toUpper();
    constexpr int MostNamed = 12;
    if (names.size() > MostNamed) {
        const qsizetype more = names.size() - MostNamed;
        names = names.mid(0, MostNamed);
        names << QStringLiteral("%1 more").arg(more);
    }
    if (names.size() == 1)
        return names.front();
    const QString last = names.takeLast();
    return names.join(QLatin1String(", ")) + QLatin1String(" and ") + last;
}

// A question with one action and Cancel, the default and what Escape gives:
// true when the action was chosen.
bool AskOrCancel(QWidget *Parent, QMessageBox::Icon Icon, const QString &Text, const QString &Action,
                 QMessageBox::ButtonRole Role)
{
    QMessageBox box(Icon, ApplicationTitle(), Text, QMessageBox::NoButton, DialogParent(Parent));
    box.setTextFormat(Qt::PlainText);
    QPushButton *action = box.addButton(Action, Role);
    box.addButton(QMessageBox::Cancel);
    SetButtonText(box, QMessageBox::Cancel, QStringLiteral("Cancel"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == action;
}

} // namespace

QMessageBox::StandardButton AskSaveChanges(QWidget *Parent, const QString &FileName)
{
    QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                    QStringLiteral("Save changes to %1?").arg(NameOf(FileName)),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, DialogParent(Parent));
    box.setTextFormat(Qt::PlainText);
    SetButtonText(box, QMessageBox::Save, QStringLiteral("Save"));
    SetButtonText(box, QMessageBox::Discard, QStringLiteral("Discard"));
    SetButtonText(box, QMessageBox::Cancel, QStringLiteral("Cancel"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
    return answer == QMessageBox::NoButton ? QMessageBox::Cancel : answer;
}

bool AskOverwriteChangedFile(QWidget *Parent, const QString &FileName, const TSaveConflicts &Conflicts)
{
    QString text = QStringLiteral("%1 has changed on disk since it was last loaded or saved. Overwrite it?")
                       .arg(NameOf(FileName));
    if (!Conflicts.Items.empty() || !Conflicts.Land.empty())
        text += QStringLiteral("\n\n%1 %2 also changed by the other program; Overwrite replaces %3 with yours.")
                    .arg(TileList(Conflicts),
                         Conflicts.Items.size() + Conflicts.Land.size() == 1 ? QStringLiteral("was")
                                                                             : QStringLiteral("were"),
                         Conflicts.Items.size() + Conflicts.Land.size() == 1 ? QStringLiteral("it")
                                                                             : QStringLiteral("them"));
    else
        text += QStringLiteral("\n\nOverwrite writes only the tiles you edited; the other program's changes "
                               "to other tiles stay.");
    return AskOrCancel(Parent, QMessageBox::Warning, text, QStringLiteral("Overwrite"), QMessageBox::AcceptRole);
}

bool AskRenameTiles(QWidget *Parent, int Count, const QString &Name)
{
    return AskOrCancel(Parent, QMessageBox::Question, QStringLiteral("Rename %1 tiles to '%2'?").arg(Thousands(Count), Name),
                       QStringLiteral("Rename"), QMessageBox::AcceptRole);
}

bool AskDiscardAndReload(QWidget *Parent, const QString &FileName)
{
    return AskOrCancel(Parent, QMessageBox::Question,
                       QStringLiteral("Discard your changes to %1 and load it again?").arg(NameOf(FileName)),
                       QStringLiteral("Discard"), QMessageBox::DestructiveRole);
}
