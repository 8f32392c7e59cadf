#include "panel/PaceClock.h"

namespace merv::panel {

void PaceClock::passRan(TimePoint now) {
    // Within this of its due time a pass keeps the phase; further off, the phase starts again.
    const auto slack = m_pace / 4;
    const bool onTime = now >= m_due - slack && now < m_due + slack;
    m_due = (onTime ? m_due : now) + m_pace;
}

} // namespace merv::panel
