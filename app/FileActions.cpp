#include "app/FileActions.h"

#include "app/EditorTools.h"
#include "app/ErrorBox.h"
#include "app/FileWatch.h"
#include "app/FilterBar.h"
#include "app/TileSections.h"
#include "app/UndoSteps.h"
#include "app/Unit1.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QRandomGenerator>

#include <filesystem>

namespace {

bool AskDiscardAndReload(QWidget *Parent, const QString &FileName)
{
    QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                    QStringLiteral("Discard your changes to %1 and load it again?").arg(QFileInfo(FileName).fileName()),
                    QMessageBox::NoButton, Parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == discard;
}

void WriteAll(QFile &File, const std::vector<unsigned char> &Bytes)
{
    const auto size = qint64(Bytes.size());
    if (File.write(reinterpret_cast<const char *>(Bytes.data()), size) != size || !File.flush())
        throw Error("Stream write error");
}

// A file of our own beside Target, under a name nobody else uses, removed
// again unless it is renamed into place.
class TNewFile
{
public:
    explicit TNewFile(const QFileInfo &Target)
    {
        for (int attempt = 0; attempt < 100 && !File.isOpen(); ++attempt) {
            File.setFileName(Target.absolutePath() + QLatin1Char('/') + Target.fileName() + QLatin1Char('.')
                             + QString::number(QRandomGenerator::global()->generate(), 36));
            File.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        }
        if (!File.isOpen())
            throw CannotOpenFileError(AnsiString::ToPath(QDir::toNativeSeparators(File.fileName())),
                                      File.errorString().toStdString());
    }
    ~TNewFile()
    {
        if (!FRenamed) {
            File.close();
            File.remove();
        }
    }
    TNewFile(const TNewFile &) = delete;
    TNewFile &operator=(const TNewFile &) = delete;

    void RenameTo(const QString &Target)
    {
        std::error_code failed;
        std::filesystem::rename(std::filesystem::path(AnsiString::ToPath(File.fileName())),
                                std::filesystem::path(AnsiString::ToPath(Target)), failed);
        if (failed)
            throw CannotOpenFileError(AnsiString::ToPath(QDir::toNativeSeparators(Target)), failed.message());
        FRenamed = true;
    }

    QFile File;

private:
    bool FRenamed = false;
};

} // namespace

TFileActions::TFileActions(TForm1 &Form)
    : QObject(&Form)
    , FForm(Form)
{
    FForm.setAcceptDrops(true);
    // The boxes of the window would take a dropped file as text.
    FForm.installEventFilter(this);
    for (QWidget *child : FForm.findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TFileActions::Open()
{
    if (!FForm.FormCloseQuery())
        return;
    if (FForm.OpenDialog1->exec() != QDialog::Accepted || FForm.OpenDialog1->selectedFiles().isEmpty())
        return;
    Load(FForm.OpenDialog1->selectedFiles().constFirst(), false);
}

void TFileActions::OpenAsked(const QString &Path)
{
    if (FForm.FormCloseQuery())
        Load(Path, false);
}

void TFileActions::Reload()
{
    if (!FForm.TileData)
        return;
    FForm.CommitFocusedNumberBox();
    const QString path = FForm.TileData->GetFileName();
    if (FForm.TileData->IsModified() && !AskDiscardAndReload(&FForm, path))
        return;
    Load(path, true);
}

// A file that cannot be read leaves the window on the file it had.
void TFileActions::Load(const QString &Path, bool KeepSelection)
{
    const int selected = KeepSelection ? FForm.SelectedTile() : -1;
    FForm.Tools->Filter->Clear();
    FForm.LoadStore(Path);
    if (!KeepSelection)
        FForm.Tools->Sections->ForgetOtherSelection();
    FForm.Edit3->setText(Path);
    FForm.TileShown = false;
    FForm.Image1->clear();
    if (!FForm.VellArtReader1)
        FForm.CreateArtView();
    FForm.BindArtView(Path);
    FForm.Tools->Undo->Clear();
    FForm.Tools->Watch->Watch(Path);
    if (selected >= 0)
        FForm.Tools->ShowTile(selected);
}

void TFileActions::SaveAs()
{
    if (!FForm.TileData)
        return;
    FForm.CommitFocusedNumberBox();
    QFileDialog dialog(&FForm, QStringLiteral("Save Tiledata As"));
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(FForm.OpenDialog1->nameFilters());
    dialog.setDefaultSuffix(QStringLiteral("mul"));
    dialog.selectFile(FForm.TileData->GetFileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString target = dialog.selectedFiles().constFirst();
    WriteCopy(*FForm.TileData, target);
    // The window now edits the copy; its records are what the window shows,
    // so the selection, the filter and the undo history stay.
    const int selected = FForm.SelectedTile();
    FForm.LoadStore(target);
    FForm.Edit3->setText(target);
    FForm.SetSelection(selected);
    FForm.Tools->Filter->Apply();
    FForm.Tools->Watch->Watch(target);
    FForm.StatusBar1->showMessage(QStringLiteral("Saved as %1").arg(QDir::toNativeSeparators(target)));
}

void TFileActions::WriteCopy(const TTileData &Store, const QString &Target)
{
    const QFileInfo target(Target);
    const QFileInfo source(Store.GetFileName());
    const std::vector<unsigned char> bytes = ReadWholeFile(AnsiString::ToPath(Store.GetFileName()));
    TNewFile temp(target);
    temp.File.setPermissions(target.exists() ? target.permissions() : source.permissions());
    WriteAll(temp.File, bytes);
    temp.File.close();
    {
        TTileData copy(temp.File.fileName());
        QStringList lines;
        copy.LoadTiles(lines);
        for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
            const int count = kind == TTileKind::Item ? Store.ItemCount() : Store.LandCount();
            for (int tile = 0; tile < count; ++tile)
                copy.SetRecordBytes(kind, tile, Store.GetRecordBytes(kind, tile));
        }
        copy.Save();
    }
    temp.RenameTo(Target);
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
        RunHandler(&FForm, [this, path] { OpenAsked(path); });
        return true;
    }
    default:
        return QObject::eventFilter(Watched, Event);
    }
}
