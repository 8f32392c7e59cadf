#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace merv::panel {

// Paints a window at most once per frame of its screen. Qt paints a widget window once per
// round of its event loop that changed it, so values that come one by one from a source would
// each paint a frame, a thousand a second for a thousand values. The pacer holds an update
// request that comes sooner than a frame after the last painted one until that frame is due;
// every widget changed meanwhile is then painted once, in its latest state. A request that comes
// after a quiet frame or more passes at once, so a value that arrives while the window is idle
// still paints without delay.
class FramePacer : public QObject {
    Q_OBJECT
public:
    // The screen's refresh rate where it tells none.
    static constexpr qreal DefaultFramesPerSecond = 60;

    explicit FramePacer(QWidget* window);

    // Frames per second at most; 0 or less follows the window's screen.
    void setMaxFramesPerSecond(qreal fps);
    qreal framesPerSecond() const;

    // Frames painted so far, and the longest time between two of them, for a look at a run.
    int framesPainted() const { return m_frames; }
    qint64 longestGapMs() const { return m_longestGapMs; }

signals:
    // A frame is about to be painted: what should show in it is to be set now.
    void frameDue();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintDue();
    qint64 frameMs() const;

    QWidget* m_window;
    qreal m_maxFps = 0;
    QElapsedTimer m_sinceFrame; // since the last frame painted; invalid before the first
    QTimer m_due;
    bool m_releasing = false; // the held request is being delivered
    int m_frames = 0;
    qint64 m_longestGapMs = 0;
};

} // namespace merv::panel
