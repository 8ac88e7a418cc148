#include "app/document/FileWatch.h"

#include "app/document/PathWatch.h"
#include "app/document/TileDocument.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

TFileWatch::TFileWatch(TTileDocument &Document, QWidget *Parent)
    : QFrame(Parent)
    , FWatch(new TPathWatch(this))
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
    connect(ReloadButton, &QPushButton::clicked, this, &TFileWatch::Press);
    connect(dismiss, &QToolButton::clicked, this, [this] { ShowBar(false); });
    connect(FWatch, &TPathWatch::Changed, this, &TFileWatch::Check);
    connect(&FDocument, &TTileDocument::Loaded, this, [this] { Watch(FDocument.FileName()); });
    connect(&FDocument, &TTileDocument::Saved, this, &TFileWatch::Wrote);
    hide();
}

void TFileWatch::Watch(const QString &Path)
{
    FWatch->Watch(Path);
    if (!FOffered)
        ShowBar(false);
}

void TFileWatch::Wrote()
{
    FWatch->Accept();
    if (!FOffered)
        ShowBar(false);
}

void TFileWatch::Offer(const QString &Message, const QString &Button, std::function<void()> Act)
{
    FOffered = std::move(Act);
    Text->setText(Message);
    ReloadButton->setText(Button);
    ShowBar(true);
}

void TFileWatch::Withdraw()
{
    if (!FOffered)
        return;
    ForgetOffer();
    ShowBar(false);
}

void TFileWatch::ForgetOffer()
{
    FOffered = nullptr;
    ReloadButton->setText(QStringLiteral("Reload"));
}

void TFileWatch::Press()
{
    ShowBar(false);
    const std::function<void()> offered = std::move(FOffered);
    ForgetOffer();
    if (offered)
        offered();
    else
        emit ReloadRequested();
}

void TFileWatch::Check()
{
    ForgetOffer();
    const QString name = QFileInfo(FWatch->Path()).fileName();
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
