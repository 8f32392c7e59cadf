#include <mervgauge/platform/Timer.h>

#include <mervgauge/platform/ElementTree.h>

namespace merv {

Timer::~Timer() {
    if (TimerClock* clock = tree().timerClock())
        clock->timerDestroyed(*this);
}

void Timer::setInterval(int milliseconds) {
    m_interval = milliseconds < 0 ? 0 : milliseconds;
    // Setting the interval restarts the count even when it is unchanged.
    if (TimerClock* clock = tree().timerClock())
        clock->timerChanged(*this);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (TimerClock* clock = tree().timerClock())
        clock->timerChanged(*this);
}

void Timer::tick() {
    if (onTick)
        onTick();
}

} // namespace merv
