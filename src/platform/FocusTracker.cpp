#include <mervgauge/platform/FocusTracker.h>

namespace merv {

bool FocusTracker::moveTo(Element* element) noexcept {
    if (element == m_focused)
        return false;
    m_focused = element;
    return true;
}

void FocusTracker::forget(const Element* element) noexcept {
    if (element == m_focused)
        m_focused = nullptr;
}

} // namespace merv
