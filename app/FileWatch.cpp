#include "app/FileWatch.h"

#include "app/TileDocument.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

TFileWatch::TFileWatch(TTileDocument &Document, QWidget *Parent)
    : QFrame(Parent)
    , FDocument(Document)
{
    setObjectName(QStringLiteral("FileWatchBar"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC4));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 2, 2);
    Text = new QLabel(this);
    Text->setObjectName(QStringLiteral("FileWatchText"));
    Text->setTextFormat(Qt::PlainText);
    ReloadButton = new QPushButton(QStringLiteral("Reload"), this);
    ReloadButton->setObjectName(QStringLiteral("FileWatchReload"));
    auto *dismiss = new QToolButton(this);
    dismiss->setObjectName(QStringLiteral("FileWatchDismiss"));
    dismiss->setText(QStringLiteral("\u00D7"));
    dismiss->setAutoRaise(true);
    dismiss->setToolTip(QStringLiteral("Hide this bar"));
    layout->addWidget(Text, 1);
    layout->addWidget(ReloadButton);
    layout->addWidget(dismiss);
    connect(ReloadButton, &QPushButton::clicked, this, [this] {
        ShowBar(false);
        emit ReloadRequested();
    });
    connect(dismiss, &QToolButton::clicked, this, [this] { ShowBar(false); });
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, &TFileWatch::Check);
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, &TFileWatch::Check);
    connect(&FDocument, &TTileDocument::Loaded, this, [this] { Watch(FDocument.FileName()); });
    connect(&FDocument, &TTileDocument::Saved, this, &TFileWatch::Wrote);
    hide();
}

TFileWatch::Stamp TFileWatch::StampOf(const QString &Path)
{
    const QFileInfo info(Path);
    if (!info.exists())
        return {};
    return {info.size(), info.fileTime(QFileDevice::FileModificationTime)};
}

void TFileWatch::Watch(const QString &Path)
{
    if (!FWatcher.files().isEmpty())
        FWatcher.removePaths(FWatcher.files());
    if (!FWatcher.directories().isEmpty())
        FWatcher.removePaths(FWatcher.directories());
    FPath = Path;
    ShowBar(false);
    if (Path.isEmpty())
        return;
    FWatcher.addPath(Path);
    FWatcher.addPath(QFileInfo(Path).absolutePath());
    FKnown = StampOf(Path);
}

void TFileWatch::Wrote()
{
    FKnown = StampOf(FPath);
    ShowBar(false);
}

void TFileWatch::Check()
{
    if (FPath.isEmpty())
        return;
    // A file renamed over the watched one is a new file to the system.
    if (!FWatcher.files().contains(FPath) && QFileInfo::exists(FPath))
        FWatcher.addPath(FPath);
    const Stamp now = StampOf(FPath);
    if (now == FKnown || now.Size < 0)
        return;
    const QString name = QFileInfo(FPath).fileName();
    if (FDocument.IsModified())
        Text->setText(QStringLiteral("%1 was changed by another program. Your edits are not saved: Save will ask "
                                     "before overwriting it.")
                          .arg(name));
    else
        Text->setText(QStringLiteral("%1 was changed by another program.").arg(name));
    ShowBar(true);
}

void TFileWatch::ShowBar(bool Shown)
{
    if (isVisibleTo(parentWidget()) == Shown)
        return;
    setVisible(Shown);
    emit Toggled();
}
