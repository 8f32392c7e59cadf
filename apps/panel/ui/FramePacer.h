#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <chrono>

class QWidget;

namespace merv::panel {

// Sets the pace of a window's frames and watches them. The pace is a frame of the window's
// screen (its refresh rate, DefaultFramesPerSecond where it tells none) or a slower one set;
// the window's sources hand it their values at that pace, so that it paints at most once a
// frame. No update request is held back: a held request left a window on a real display
// unpainted. Each update request that paints the window is a frame, and just before it the
// window is told (frameDue), so that the frame shows every value that has come.
class FramePacer : public QObject {
    Q_OBJECT
public:
    static constexpr qreal DefaultFramesPerSecond = 60;

    explicit FramePacer(QWidget* window);

    // At most this many frames a second; 0 follows the screen.
    void setMaxFramesPerSecond(qreal fps);
    qreal framesPerSecond() const;
    std::chrono::microseconds frameInterval() const;

    // Frames painted so far, and the longest time between two of them, for a look at a run.
    int framesPainted() const { return m_frames; }
    qint64 longestGapMs() const { return m_longestGapMs; }

signals:
    // A frame is about to be painted: what should show in it is to be set now.
    void frameDue();
    // The pace changed: the window moved to another screen, or a slower pace was set.
    void paceChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkPace();

    QWidget* m_window;
    qreal m_maxFps = 0;
    qreal m_fps = 0;            // the pace last told
    QElapsedTimer m_sinceFrame; // since the last frame painted; invalid before the first
    int m_frames = 0;
    qint64 m_longestGapMs = 0;
};

} // namespace merv::panel
