#include "app/SaveQuestions.h"

#include "app/ErrorBox.h"

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

} // namespace

QMessageBox::StandardButton AskSaveChanges(QWidget *Parent, const QString &FileName)
{
    QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                    QStringLiteral("Save changes to %1?").arg(NameOf(FileName)),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, Parent);
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

bool AskOverwriteChangedFile(QWidget *Parent, const QString &FileName)
{
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(),
                    QStringLiteral("%1 has changed on disk since it was loaded. Overwrite it?").arg(NameOf(FileName)),
                    QMessageBox::NoButton, Parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *overwrite = box.addButton(QStringLiteral("Overwrite"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    SetButtonText(box, QMessageBox::Cancel, QStringLiteral("Cancel"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == overwrite;
}
