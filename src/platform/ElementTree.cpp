#include <mervgauge/platform/ElementTree.h>

#include <mervgauge/platform/PictureBox.h>

#include <algorithm>
#include <utility>

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

namespace {

// The focus walk one way or the other: the element that can take the focus whose tab index
// comes first after `from`'s, wrapping round to the first of all; of equal indexes the one
// created first.
Element* stepFocusOrder(const std::vector<std::unique_ptr<Element>>& elements, const Element* from,
                        bool forward) noexcept {
    const auto before = [forward](int a, int b) { return forward ? a < b : a > b; };
    Element* next = nullptr;  // the first after `from`
    Element* first = nullptr; // the first of all, for wrapping round
    for (const auto& owned : elements) {
        Element* e = owned.get();
        if (e == from || !e->canTakeFocus())
            continue;
        if (!first || before(e->tabIndex(), first->tabIndex()))
            first = e;
        if ((!from || before(from->tabIndex(), e->tabIndex())) &&
            (!next || before(e->tabIndex(), next->tabIndex())))
            next = e;
    }
    return next ? next : first;
}

} // namespace

Element* ElementTree::nextInFocusOrder(const Element* from) const noexcept {
    return stepFocusOrder(m_elements, from, true);
}

Element* ElementTree::previousInFocusOrder(const Element* from) const noexcept {
    return stepFocusOrder(m_elements, from, false);
}

void ElementTree::addObserver(ElementObserver& observer) {
    if (m_observerCount == 0) {
        // A view that starts watching paints the surfaces as they stand; presents made while
        // nobody watched compared nothing, so this is what later presents compare with.
        for (const auto& element : m_elements) {
            if (element->kind() == ElementKind::PictureBox) {
                auto& box = static_cast<PictureBox&>(*element);
                if (box.hasSurface())
                    box.surface().markShown();
            }
        }
    }
    m_observers.push_back(&observer);
    ++m_observerCount;
}

void ElementTree::removeObserver(ElementObserver& observer) {
    auto it = std::find(m_observers.begin(), m_observers.end(), &observer);
    if (it == m_observers.end())
        return;
    --m_observerCount;
    if (m_notifying > 0) {
        *it = nullptr; // the loop in notify() is still walking the list
        m_removedWhileTelling = true;
    } else {
        m_observers.erase(it);
    }
}

void ElementTree::notify(const ElementNotice& notice) {
    if (m_observerCount == 0)
        return;
    ++m_notifying;
    for (std::size_t i = 0; i < m_observers.size(); ++i) {
        if (ElementObserver* observer = m_observers[i])
            observer->elementChanged(notice);
    }
    if (--m_notifying == 0 && m_removedWhileTelling) {
        std::erase(m_observers, nullptr);
        m_removedWhileTelling = false;
    }
}

ElementTree::DeferredNotices::DeferredNotices(ElementTree& tree) noexcept : m_tree(tree) {
    ++m_tree.m_deferDepth;
}

ElementTree::DeferredNotices::~DeferredNotices() {
    if (--m_tree.m_deferDepth == 0)
        m_tree.flushDeferred();
}

void ElementTree::stackingWillChange(Container& container) {
    if (m_observerCount == 0)
        return; // nobody to tell; a view that starts watching takes the order as it stands
    for (std::size_t i = 0; i < m_stackingHeld; ++i) {
        if (m_stackingBefore[i].container == &container)
            return; // the order to compare with is the one at the start
    }
    if (m_stackingHeld == m_stackingBefore.size())
        m_stackingBefore.push_back({&container, {}});
    StackingBefore& before = m_stackingBefore[m_stackingHeld++];
    before.container = &container;
    before.order.assign(container.children().begin(), container.children().end());
}

void ElementTree::presentLater(PictureBox& box) {
    if (std::find(m_pendingPresents.begin(), m_pendingPresents.end(), &box) ==
        m_pendingPresents.end())
        m_pendingPresents.push_back(&box);
}

void ElementTree::flushDeferred() {
    if (m_stackingHeld == 0 && m_pendingPresents.empty())
        return;
    // Observers may change the model again, and hold notices back and tell them inside this
    // call: what is told here is taken out first, and its storage given back when done.
    std::vector<StackingBefore> stacking;
    stacking.swap(m_stackingBefore);
    const std::size_t held = std::exchange(m_stackingHeld, 0);
    std::vector<PictureBox*> presents;
    presents.swap(m_pendingPresents);
    for (std::size_t s = 0; s < held; ++s) {
        const StackingBefore& before = stacking[s];
        const std::vector<Element*>& now = before.container->children();
        if (now == before.order)
            continue; // moves that undid each other, as a value update's needle makes
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (i >= before.order.size() || before.order[i] != now[i])
                notify({now[i], ElementChange::Stacking, {}});
        }
    }
    for (PictureBox* box : presents)
        box->present();
    if (m_stackingBefore.empty())
        m_stackingBefore.swap(stacking);
    presents.clear();
    if (m_pendingPresents.empty())
        m_pendingPresents.swap(presents);
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
