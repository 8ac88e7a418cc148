#include "app/links/AnimationPlayer.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>

#include <algorithm>

TAnimationPlayer::TAnimationPlayer(QLabel &Picture)
    : QObject(&Picture)
    , FPicture(Picture)
{
    connect(&FTimer, &QTimer::timeout, this, &TAnimationPlayer::ShowNextFrame);
    FPicture.installEventFilter(this);
}

void TAnimationPlayer::Play(const std::vector<QImage> &Frames, const std::vector<int> &Tiles, int Interval,
                            int Delay)
{
    Stop();
    if (Frames.empty())
        return;
    FFrames = Frames;
    FTiles = Tiles;
    FInterval = std::max(Interval, 1) * StepMilliseconds;
    // The tile's own picture stays on view through the delay.
    FTimer.start(Delay > 0 ? Delay * StepMilliseconds : 0);
}

void TAnimationPlayer::Stop()
{
    FTimer.stop();
    FFrames.clear();
    FTiles.clear();
    FShown = -1;
    FPaused = false;
}

void TAnimationPlayer::TogglePause()
{
    if (!IsPlaying())
        return;
    FPaused = !FPaused;
    if (FPaused)
        FTimer.stop();
    else
        FTimer.start(FInterval);
    emit Changed();
}

void TAnimationPlayer::ShowNextFrame()
{
    if (FFrames.empty())
        return;
    FShown = (FShown + 1) % int(FFrames.size());
    FPicture.setPixmap(QPixmap::fromImage(FFrames[std::size_t(FShown)]));
    if (!FPaused && FTimer.interval() != FInterval)
        FTimer.start(FInterval);
    emit Changed();
}

bool TAnimationPlayer::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == &FPicture && Event->type() == QEvent::MouseButtonPress && IsPlaying()) {
        TogglePause();
        return true;
    }
    return QObject::eventFilter(Watched, Event);
}
