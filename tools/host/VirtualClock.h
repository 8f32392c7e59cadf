#pragma once

#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/platform/Timer.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace merv::host {

// The scripting host's clock: time in milliseconds that moves only when the host advances it,
// shared by the timers of every control. A running timer is due one interval after it was
// enabled or its interval was set, then every interval while it stays running; a timer that
// stops running forgets its due time.
class VirtualClock : public TimerClock {
public:
    using TickErrorHandler = std::function<void(const Timer&, const RuntimeError&)>;

    std::int64_t now() const noexcept { return m_now; }

    void timerChanged(Timer& timer) override;
    void timerDestroyed(Timer& timer) override;

    // Moves time forward by the given milliseconds, delivering every tick that falls due, in
    // time order (timers due at the same moment in the order they were scheduled). A tick's
    // RuntimeError goes to the handler with its timer and time goes on; any other exception
    // ends the advance. Returns the number of ticks delivered. Each tick costs O(log n) in the
    // number of running timers.
    std::int64_t advance(std::int64_t milliseconds, const TickErrorHandler& onTickError);

    // When the timer is next due; empty while it is not running.
    std::optional<std::int64_t> dueTime(const Timer& timer) const;

private:
    struct Due {
        std::int64_t time;
        std::uint64_t order; // breaks ties between timers due at the same moment
        auto operator<=>(const Due&) const = default;
    };
    void schedule(Timer& timer);
    void unschedule(const Timer& timer);

    std::int64_t m_now = 0;
    std::uint64_t m_nextOrder = 0;
    // Every running timer's due time, and the same in time order: the next tick is the first.
    std::map<const Timer*, Due> m_due;
    std::map<Due, Timer*> m_queue;
};

} // namespace merv::host
