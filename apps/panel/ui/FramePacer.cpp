#include "FramePacer.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace merv::panel {

FramePacer::FramePacer(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::UpdateRequest)
        return false;
    if (m_sinceFrame.isValid())
        m_longestGapMs = std::max(m_longestGapMs, m_sinceFrame.elapsed());
    m_sinceFrame.start();
    ++m_frames;
    emit frameDue();
    return false;
}

} // namespace merv::panel
