#pragma once

#include <chrono>

namespace merv::panel {

// When a paced consumer next takes what waits. Passes keep the phase of the pace: a pass that
// runs a little late (a timer waits in whole milliseconds, the thread was busy) does not push
// the passes after it, so a pace of a 60 Hz frame gives sixty passes a second. A pass after a
// quiet spell, or later than a quarter of the pace, starts the phase again from itself.
class PaceClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Zero, the default, makes every pass due at once.
    void setPace(std::chrono::microseconds interval) { m_pace = interval; }

    // How long from now until the next pass is due; zero or less when it is due.
    std::chrono::steady_clock::duration untilDue(TimePoint now) const { return m_due - now; }
    // A pass ran at now: the next is due a pace after this one's due time, or after now.
    void passRan(TimePoint now);

private:
    std::chrono::microseconds m_pace{0};
    TimePoint m_due{}; // the first pass is due at once
};

} // namespace merv::panel
