#include "FramePacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace merv::panel {

FramePacer::FramePacer(QWidget* window) : QObject(window), m_window(window) {
    m_due.setSingleShot(true);
    m_due.setTimerType(Qt::PreciseTimer);
    connect(&m_due, &QTimer::timeout, this, &FramePacer::paintDue);
    window->installEventFilter(this);
}

void FramePacer::setMaxFramesPerSecond(qreal fps) {
    m_maxFps = fps;
}

qreal FramePacer::framesPerSecond() const {
    if (m_maxFps > 0)
        return m_maxFps;
    const QScreen* screen = m_window->screen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    return rate > 0 ? rate : DefaultFramesPerSecond;
}

qint64 FramePacer::frameMs() const {
    return qint64(std::floor(1000 / framesPerSecond()));
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::UpdateRequest || m_releasing)
        return false;
    if (m_due.isActive())
        return true; // held already: the frame that is due paints this too
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : frameMs();
    if (since < frameMs()) {
        m_due.start(int(frameMs() - since));
        return true;
    }
    if (m_sinceFrame.isValid())
        m_longestGapMs = std::max(m_longestGapMs, since);
    m_sinceFrame.start();
    ++m_frames;
    emit frameDue();
    return false;
}

void FramePacer::paintDue() {
    // The held request, delivered now: Qt posts no other while one is outstanding.
    m_longestGapMs = std::max(m_longestGapMs, m_sinceFrame.elapsed());
    m_sinceFrame.start();
    ++m_frames;
    emit frameDue();
    m_releasing = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &request);
    m_releasing = false;
}

} // namespace merv::panel
