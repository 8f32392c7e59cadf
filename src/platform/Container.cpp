#include <mervgauge/platform/Container.h>

#include <mervgauge/platform/Element.h>
#include <mervgauge/platform/ElementTree.h>

#include <algorithm>
#include <cassert>

namespace merv {

void Container::add(Element& child) {
    assert(!child.m_container && "an element stands in one container");
    child.m_container = this;
    if (child.ownsWindow()) {
        m_children.insert(m_children.begin() + std::ptrdiff_t(m_windowed), &child);
        ++m_windowed;
    } else {
        m_children.push_back(&child);
    }
}

bool Container::moveTo(Element& child, bool front) {
    auto it = std::find(m_children.begin(), m_children.end(), &child);
    assert(it != m_children.end() && "the element stands in this container");
    ElementTree& tree = child.tree();
    // The order to compare with at the end is the one before this move; one that leaves the
    // child where it is is found to change nothing there.
    if (tree.deferringNotices())
        tree.stackingWillChange(*this);
    // The child's layer: the windowed children first, then the windowless ones.
    const bool windowed = child.ownsWindow();
    const std::size_t first = windowed ? 0 : m_windowed;
    const std::size_t last = windowed ? m_windowed - 1 : m_children.size() - 1;
    const auto from = std::size_t(it - m_children.begin());
    const std::size_t to = front ? first : last;
    if (to == from)
        return false;
    // Only the children the move passes shift, by one place.
    const auto place = m_children.begin() + std::ptrdiff_t(to);
    if (to < from)
        std::move_backward(place, it, it + 1);
    else
        std::move(it + 1, place + 1, it);
    *place = &child;
    if (!tree.deferringNotices())
        tree.notify({&child, ElementChange::Stacking, {}});
    return true;
}

void Container::bringToFront(Element& child) {
    moveTo(child, true);
}

void Container::sendToBack(Element& child) {
    moveTo(child, false);
}

} // namespace merv
