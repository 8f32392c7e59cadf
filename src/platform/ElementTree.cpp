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

Element* ElementTree::nextInFocusOrder(const Element* from) const noexcept {
    const int after = from ? from->tabIndex() : -1;
    Element* next = nullptr;  // the lowest index above `after`
    Element* first = nullptr; // the lowest index overall, for wrapping round
    for (const auto& owned : m_elements) {
        Element* e = owned.get();
        if (e == from || !e->canTakeFocus())
            continue;
        if (!first || e->tabIndex() < first->tabIndex())
            first = e;
        if (e->tabIndex() > after && (!next || e->tabIndex() < next->tabIndex()))
            next = e;
    }
    return next ? next : first;
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
