#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>

#include <vector>

class QLabel;

// Plays an item's animation in the art view: each frame's picture in
// order, at the entry's pace, looping, after the entry's delay. A click on
// the picture pauses and resumes it.
class TAnimationPlayer : public QObject
{
    Q_OBJECT

public:
    // One step of an entry's interval or delay.
    static constexpr int StepMilliseconds = 50;

    explicit TAnimationPlayer(QLabel &Picture);

    // Frames are the pictures to show, with the tile each comes from.
    // Interval and Delay count steps; an interval of 0 is taken as one step,
    // so that a damaged entry cannot spin the window.
    void Play(const std::vector<QImage> &Frames, const std::vector<int> &Tiles, int Interval, int Delay);
    void Stop();
    void TogglePause();
    bool IsPlaying() const { return !FFrames.empty(); }
    bool IsPaused() const { return FPaused; }
    // The time between frames.
    int IntervalMs() const { return FInterval; }
    // The tile whose picture is on view; -1 before the first frame.
    int ShownTile() const { return FShown < 0 ? -1 : FTiles[std::size_t(FShown)]; }
    // Draws the next frame: what the timer does at each step.
    void ShowNextFrame();

signals:
    // A frame was drawn, or the player paused or resumed.
    void Changed();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QLabel &FPicture;
    QTimer FTimer;
    std::vector<QImage> FFrames;
    std::vector<int> FTiles;
    int FShown = -1;
    int FInterval = StepMilliseconds;
    bool FPaused = false;
};
