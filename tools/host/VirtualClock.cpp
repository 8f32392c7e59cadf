#include "host/VirtualClock.h"

#include <algorithm>

namespace merv::host {

void VirtualClock::schedule(Timer& timer) {
    unschedule(timer);
    if (!timer.running())
        return;
    const Due due{m_now + timer.interval(), m_nextOrder++};
    m_due.emplace(&timer, due);
    m_queue.emplace(due, &timer);
}

void VirtualClock::unschedule(const Timer& timer) {
    if (const auto it = m_due.find(&timer); it != m_due.end()) {
        m_queue.erase(it->second);
        m_due.erase(it);
    }
}

void VirtualClock::timerChanged(Timer& timer) {
    schedule(timer);
}

void VirtualClock::timerDestroyed(Timer& timer) {
    unschedule(timer);
}

std::int64_t VirtualClock::advance(std::int64_t milliseconds, const TickErrorHandler& onTickError) {
    const std::int64_t target = m_now + std::max<std::int64_t>(milliseconds, 0);
    std::int64_t ticks = 0;
    for (;;) {
        // The timers may change under every tick, so the next one is looked for afresh.
        const auto next = m_queue.begin();
        if (next == m_queue.end() || next->first.time > target)
            break;
        // A handler may have advanced the clock itself: time never goes backwards.
        m_now = std::max(m_now, next->first.time);
        Timer& timer = *next->second;
        // Due again one interval on; a change during the tick reschedules it from now.
        schedule(timer);
        ++ticks;
        try {
            timer.tick();
        } catch (const RuntimeError& error) {
            onTickError(timer, error);
        }
    }
    m_now = std::max(m_now, target);
    return ticks;
}

std::optional<std::int64_t> VirtualClock::dueTime(const Timer& timer) const {
    if (const auto it = m_due.find(&timer); it != m_due.end())
        return it->second.time;
    return std::nullopt;
}

} // namespace merv::host
