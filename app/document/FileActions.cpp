#include "app/document/FileActions.h"

#include "app/document/ErrorBox.h"
#include "app/document/OpenWarnings.h"
#include "app/document/SaveQuestions.h"
#include "app/document/TileDocument.h"

#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>

TFileActions::TFileActions(TTileDocument &Document, QWidget *Window, QFileDialog *OpenDialog)
    : QObject(Window)
    , FDocument(Document)
    , FWindow(Window)
    , FOpenDialog(OpenDialog)
{
    // What an open does with a cut-off save is said, or asked, before the
    // file shows.
    FDocument.SetJournalBoxes([this](const QString &Text) { TOpenWarnings::TellJournal(FWindow, Text); },
                              [this](const QString &Name, const QString &Tiles, const QString &Unfinishable) {
                                  return TOpenWarnings::AskJournal(FWindow, Name, Tiles, Unfinishable);
                              });
    FWindow->setAcceptDrops(true);
    // The boxes of the window would take a dropped file as text.
    FWindow->installEventFilter(this);
    for (QWidget *child : FWindow->findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TFileActions::Open()
{
    if (!MayDropEdits())
        return;
    // Another file is most likely one beside the open one, as Save As offers.
    if (FDocument.Store())
        FOpenDialog->setDirectory(QFileInfo(FDocument.FileName()).absolutePath());
    if (FOpenDialog->exec() != QDialog::Accepted || FOpenDialog->selectedFiles().isEmpty())
        return;
    FDocument.Load(FOpenDialog->selectedFiles().constFirst(), TLoadKind::Open);
}

void TFileActions::OpenAsked(const QString &Path)
{
    if (MayDropEdits())
        FDocument.Load(Path, TLoadKind::Open);
}

// Without edits a save has nothing to write over another program's change:
// it says so and leaves the file to Reload, rather than ask to overwrite.
void TFileActions::SaveEdits()
{
    const QString path = FDocument.FileName();
    bool nothingToWrite = false;
    FDocument.Save([&](const TSaveConflicts &Conflicts) {
        nothingToWrite = !FDocument.IsModified();
        return !nothingToWrite && AskOverwriteChangedFile(FWindow, path, Conflicts);
    });
    if (nothingToWrite)
        emit Say(QStringLiteral("Nothing to save: there are no edits, and %1 was changed by another program; "
                                "Reload reads its changes")
                     .arg(QFileInfo(path).fileName()));
}

bool TFileActions::MayDropEdits()
{
    if (!FDocument.Store())
        return true;
    FDocument.CommitPendingEdits();
    const bool renamePending = FDocument.HasPendingName();
    if (!renamePending && !FDocument.IsModified())
        return true;
    const QString path = FDocument.FileName();
    switch (AskSaveChanges(FWindow, path)) {
    case QMessageBox::Save:
        if (renamePending)
            FDocument.Rename(FDocument.PendingName());
        return FDocument.Save([this, path](const TSaveConflicts &Conflicts) {
            return AskOverwriteChangedFile(FWindow, path, Conflicts);
        });
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TFileActions::Reload()
{
    if (!FDocument.Store())
        return;
    FDocument.CommitPendingEdits();
    const QString path = FDocument.FileName();
    if (FDocument.IsModified() && !AskDiscardAndReload(FWindow, path))
        return;
    FDocument.Load(path, TLoadKind::Reload);
}

void TFileActions::SaveAs()
{
    if (!FDocument.Store())
        return;
    FDocument.CommitPendingEdits();
    QFileDialog dialog(FWindow, QStringLiteral("Save Tiledata As"));
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(FOpenDialog->nameFilters());
    dialog.setDefaultSuffix(QStringLiteral("mul"));
    dialog.selectFile(FDocument.FileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    FDocument.SaveAs(dialog.selectedFiles().constFirst());
}

QString TFileActions::DroppedFile(const QMimeData *Data)
{
    if (!Data || !Data->hasUrls() || Data->urls().size() != 1 || !Data->urls().constFirst().isLocalFile())
        return QString();
    return Data->urls().constFirst().toLocalFile();
}

bool TFileActions::eventFilter(QObject *Watched, QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(Event);
        if (DroppedFile(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(Event);
        const QString path = DroppedFile(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        RunHandler(FWindow, [this, path] { OpenAsked(path); });
        return true;
    }
    default:
        return QObject::eventFilter(Watched, Event);
    }
}
