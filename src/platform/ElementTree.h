#pragma once

#include <mervgauge/platform/Element.h>
#include <mervgauge/platform/FocusTracker.h>
#include <mervgauge/platform/Timer.h>
#include <mervgauge/platform/UserControl.h>

#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

namespace merv {

class PictureBox;

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
    // Shift+Tab: the same walk the other way, before `from` (from the end when null).
    Element* previousInFocusOrder(const Element* from) const noexcept;
    const std::vector<std::unique_ptr<Element>>& elements() const noexcept { return m_elements; }

    // Every observer is told of every change, in the order they were added. An observer may
    // be added or removed while a change is being told.
    void addObserver(ElementObserver& observer);
    void removeObserver(ElementObserver& observer);
    void notify(const ElementNotice& notice);
    // Whether any observer is there to be told: work done only to tell views can be skipped.
    bool observed() const noexcept { return m_observerCount > 0; }

    // While one lives, stacking changes and surface presents are held back and told once at
    // its end, as they stand then: a view repaints only between events, so moves that undo
    // each other, or a redraw that produced the same pixels, show nothing.
    class DeferredNotices {
    public:
        explicit DeferredNotices(ElementTree& tree) noexcept;
        ~DeferredNotices();
        DeferredNotices(const DeferredNotices&) = delete;
        DeferredNotices& operator=(const DeferredNotices&) = delete;

    private:
        ElementTree& m_tree;
    };
    bool deferringNotices() const noexcept { return m_deferDepth > 0; }
    // Called by a container before its order changes while notices are held back. Where no
    // observer watches, nothing is kept.
    void stackingWillChange(Container& container);
    // Called by a picture box whose surface is to be presented while notices are held back.
    void presentLater(PictureBox& box);

    // The host's focus; a tree starts with one of its own.
    void setFocusTracker(FocusTracker* tracker) noexcept;
    FocusTracker& focus() noexcept { return *m_focus; }

    void setTimerClock(TimerClock* clock);
    TimerClock* timerClock() const noexcept { return m_clock; }

private:
    std::vector<std::unique_ptr<Element>> m_elements;
    UserControl* m_root = nullptr;
    void flushDeferred();

    std::vector<ElementObserver*> m_observers; // null where one was removed while telling
    std::size_t m_observerCount = 0;           // the observers that are not null
    bool m_removedWhileTelling = false;
    int m_notifying = 0;
    int m_deferDepth = 0;
    struct StackingBefore {
        Container* container;
        std::vector<Element*> order;
    };
    // The first m_stackingHeld entries are held back; the rest keep their storage, so that a
    // value update, which holds its needle's restacking back, allocates nothing.
    std::vector<StackingBefore> m_stackingBefore;
    std::size_t m_stackingHeld = 0;
    std::vector<PictureBox*> m_pendingPresents;
    FocusTracker m_ownFocus;
    FocusTracker* m_focus = &m_ownFocus;
    TimerClock* m_clock = nullptr;
};

} // namespace merv
