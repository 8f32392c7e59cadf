#include <mervgauge/platform/ElementTree.h>

#include <mervgauge/platform/PictureBox.h>

#include <algorithm>

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
    m_observers.push_back(&observer);
}

void ElementTree::removeObserver(ElementObserver& observer) {
    auto it = std::find(m_observers.begin(), m_observers.end(), &observer);
    if (it == m_observers.end())
        return;
    if (m_notifying > 0)
        *it = nullptr; // the loop in notify() is still walking the list
    else
        m_observers.erase(it);
}

void ElementTree::notify(const ElementNotice& notice) {
    ++m_notifying;
    for (std::size_t i = 0; i < m_observers.size(); ++i) {
        if (ElementObserver* observer = m_observers[i])
            observer->elementChanged(notice);
    }
    if (--m_notifying == 0)
        std::erase(m_observers, nullptr);
}

ElementTree::DeferredNotices::DeferredNotices(ElementTree& tree) noexcept : m_tree(tree) {
    ++m_tree.m_deferDepth;
}

ElementTree::DeferredNotices::~DeferredNotices() {
    if (--m_tree.m_deferDepth == 0)
        m_tree.flushDeferred();
}

void ElementTree::stackingWillChange(Container& container) {
    for (const StackingBefore& before : m_stackingBefore) {
        if (before.container == &container)
            return; // the order to compare with is the one at the start
    }
    m_stackingBefore.push_back({&container, container.children()});
}

void ElementTree::presentLater(PictureBox& box) {
    if (std::find(m_pendingPresents.begin(), m_pendingPresents.end(), &box) ==
        m_pendingPresents.end())
        m_pendingPresents.push_back(&box);
}

void ElementTree::flushDeferred() {
    // Observers may change the model again; what they change is told at once.
    std::vector<StackingBefore> stacking = std::move(m_stackingBefore);
    m_stackingBefore.clear();
    std::vector<PictureBox*> presents = std::move(m_pendingPresents);
    m_pendingPresents.clear();
    for (const StackingBefore& before : stacking) {
        const std::vector<Element*>& now = before.container->children();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (i >= before.order.size() || before.order[i] != now[i])
                notify({now[i], ElementChange::Stacking, {}});
        }
    }
    for (PictureBox* box : presents)
        box->present();
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
