#include <mervgauge/platform/Container.h>

#include <mervgauge/platform/Element.h>
#include <mervgauge/platform/ElementTree.h>

#include <algorithm>
#include <cassert>

namespace merv {

namespace {

// The first position of the windowless layer: every windowed child stands before it.
std::size_t windowlessStart(const std::vector<Element*>& children) {
    return std::size_t(std::find_if(children.begin(), children.end(),
                                    [](Element* e) { return !e->ownsWindow(); }) -
                       children.begin());
}

} // namespace

void Container::add(Element& child) {
    assert(!child.m_container && "an element stands in one container");
    child.m_container = this;
    if (child.ownsWindow())
        m_children.insert(m_children.begin() + std::ptrdiff_t(windowlessStart(m_children)), &child);
    else
        m_children.push_back(&child);
}

bool Container::moveTo(Element& child, bool front) {
    auto it = std::find(m_children.begin(), m_children.end(), &child);
    assert(it != m_children.end() && "the element stands in this container");
    ElementTree& tree = child.tree();
    // The order to compare with at the end is the one before this move; one that leaves the
    // child where it is is found to change nothing there.
    if (tree.deferringNotices())
        tree.stackingWillChange(*this);
    const auto from = std::size_t(it - m_children.begin());
    m_children.erase(it);
    std::size_t to = 0;
    if (front)
        to = child.ownsWindow() ? 0 : windowlessStart(m_children);
    else
        to = child.ownsWindow() ? windowlessStart(m_children) : m_children.size();
    m_children.insert(m_children.begin() + std::ptrdiff_t(to), &child);
    if (to == from)
        return false;
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
