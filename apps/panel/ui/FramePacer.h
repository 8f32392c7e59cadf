#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

namespace merv::panel {

// Watches a window's frames: each update request that paints it is a frame, and just before
// it the window is told (frameDue), so that the frame shows every value that has come. It
// holds no request back: a held request left a window on a real display unpainted.
class FramePacer : public QObject {
    Q_OBJECT
public:
    explicit FramePacer(QWidget* window);

    // Frames painted so far, and the longest time between two of them, for a look at a run.
    int framesPainted() const { return m_frames; }
    qint64 longestGapMs() const { return m_longestGapMs; }

signals:
    // A frame is about to be painted: what should show in it is to be set now.
    void frameDue();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QElapsedTimer m_sinceFrame; // since the last frame painted; invalid before the first
    int m_frames = 0;
    qint64 m_longestGapMs = 0;
};

} // namespace merv::panel
