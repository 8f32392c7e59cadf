#include "host/VirtualClock.h"

#include <algorithm>

namespace merv::host {

void VirtualClock::schedule(Timer& timer) {
    if (timer.running())
        m_due[&timer] = Due{m_now + timer.interval(), m_nextOrder++};
    else
        m_due.erase(&timer);
}

void VirtualClock::timerChanged(Timer& timer) {
    schedule(timer);
}

void VirtualClock::timerDestroyed(Timer& timer) {
    m_due.erase(&timer);
}

std::int64_t VirtualClock::advance(std::int64_t milliseconds, const TickErrorHandler& onTickError) {
    const std::int64_t target = m_now + std::max<std::int64_t>(milliseconds, 0);
    std::int64_t ticks = 0;
    for (;;) {
        // The timers may change under every tick, so the next one is looked for afresh.
        auto next = std::min_element(m_due.begin(), m_due.end(), [](const auto& a, const auto& b) {
            return a.second.time != b.second.time ? a.second.time < b.second.time
                                                  : a.second.order < b.second.order;
        });
        if (next == m_due.end() || next->second.time > target)
            break;
        // A handler may have advanced the clock itself: time never goes backwards.
        m_now = std::max(m_now, next->second.time);
        Timer& timer = *next->first;
        // Due again one interval on; a change during the tick reschedules it from now.
        schedule(timer);
        ++ticks;
        try {
            timer.tick();
        } catch (const RuntimeError& error) {
            onTickError(error);
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
