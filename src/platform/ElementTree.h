#pragma once

#include "platform/Element.h"
#include "platform/FocusTracker.h"
#include "platform/Timer.h"
#include "platform/UserControl.h"

#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

namespace merv {

// Owns the elements of one control or page, finds them by name, and carries the seams that
// every element reaches: the observer, the focus and the timer clock.
class ElementTree {
public:
    ElementTree();
    ~ElementTree();
    ElementTree(const ElementTree&) = delete;
    ElementTree& operator=(const ElementTree&) = delete;

    UserControl& root() noexcept { return *m_root; }
    const UserControl& root() const noexcept { return *m_root; }

    // Creates an element owned by the tree; in the container when one is given, behind the
    // children it already has.
    template <typename T>
    T& create(std::string name, Container* container = nullptr) {
        static_assert(std::is_base_of_v<Element, T>);
        auto owned = std::make_unique<T>(*this, std::move(name));
        T& element = *owned;
        m_elements.push_back(std::move(owned));
        if (container)
            container->add(element);
        return element;
    }

    Element* find(std::string_view name) const noexcept;

    // Tab: the focus moves to the next element in focus order that can take it, after
    // `from` (from the start when null), wrapping round. Null when none can take it.
    Element* nextInFocusOrder(const Element* from) const noexcept;
    const std::vector<std::unique_ptr<Element>>& elements() const noexcept { return m_elements; }

    void setObserver(ElementObserver* observer) noexcept { m_observer = observer; }
    ElementObserver* observer() const noexcept { return m_observer; }

    // The host's focus; a tree starts with one of its own.
    void setFocusTracker(FocusTracker* tracker) noexcept;
    FocusTracker& focus() noexcept { return *m_focus; }

    void setTimerClock(TimerClock* clock);
    TimerClock* timerClock() const noexcept { return m_clock; }

private:
    std::vector<std::unique_ptr<Element>> m_elements;
    UserControl* m_root = nullptr;
    ElementObserver* m_observer = nullptr;
    FocusTracker m_ownFocus;
    FocusTracker* m_focus = &m_ownFocus;
    TimerClock* m_clock = nullptr;
};

} // namespace merv
