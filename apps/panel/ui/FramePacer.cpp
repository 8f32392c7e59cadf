#include "FramePacer.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace merv::panel {

FramePacer::FramePacer(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
    m_fps = framesPerSecond();
}

void FramePacer::setMaxFramesPerSecond(qreal fps) {
    m_maxFps = fps;
    checkPace();
}

qreal FramePacer::framesPerSecond() const {
    const QScreen* screen = m_window->screen();
    const qreal rate =
        screen && screen->refreshRate() > 0 ? screen->refreshRate() : DefaultFramesPerSecond;
    return m_maxFps > 0 ? std::min(rate, m_maxFps) : rate;
}

std::chrono::microseconds FramePacer::frameInterval() const {
    return std::chrono::microseconds(std::llround(1e6 / framesPerSecond()));
}

void FramePacer::checkPace() {
    if (const qreal fps = framesPerSecond(); fps != m_fps) {
        m_fps = fps;
        emit paceChanged();
    }
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::Show)
        checkPace();
    if (event->type() != QEvent::UpdateRequest)
        return false;
    if (m_sinceFrame.isValid())
        m_longestGapMs = std::max(m_longestGapMs, m_sinceFrame.elapsed());
    m_sinceFrame.start();
    ++m_frames;
    emit frameDue();
    return false;
}

} // namespace merv::panel
