#include "platform/ElementTree.h"

namespace merv {

ElementTree::ElementTree() {
    auto root = std::make_unique<UserControl>(*this);
    m_root = root.get();
    m_elements.push_back(std::move(root));
}

ElementTree::~ElementTree() {
    for (const auto& element : m_elements)
        m_focus->forget(element.get());
    // Children go before the root they stand in.
    while (!m_elements.empty())
        m_elements.pop_back();
}

Element* ElementTree::find(std::string_view name) const noexcept {
    for (const auto& element : m_elements) {
        if (element->name() == name)
            return element.get();
    }
    return nullptr;
}

void ElementTree::setFocusTracker(FocusTracker* tracker) noexcept {
    m_focus = tracker ? tracker : &m_ownFocus;
}

void ElementTree::setTimerClock(TimerClock* clock) {
    m_clock = clock;
    if (!m_clock)
        return;
    for (const auto& element : m_elements) {
        if (element->kind() == ElementKind::Timer)
            m_clock->timerChanged(static_cast<Timer&>(*element));
    }
}

} // namespace merv
