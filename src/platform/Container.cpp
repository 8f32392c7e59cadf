#include "platform/Container.h"

#include "platform/Element.h"
#include "platform/ElementTree.h"

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

void Container::bringToFront(Element& child) {
    auto it = std::find(m_children.begin(), m_children.end(), &child);
    assert(it != m_children.end() && "the element stands in this container");
    m_children.erase(it);
    const std::size_t front = child.ownsWindow() ? 0 : windowlessStart(m_children);
    m_children.insert(m_children.begin() + std::ptrdiff_t(front), &child);
    if (ElementObserver* observer = child.tree().observer())
        observer->elementChanged(child, ElementChange::Stacking);
}

void Container::sendToBack(Element& child) {
    auto it = std::find(m_children.begin(), m_children.end(), &child);
    assert(it != m_children.end() && "the element stands in this container");
    m_children.erase(it);
    const std::size_t back = child.ownsWindow() ? windowlessStart(m_children) : m_children.size();
    m_children.insert(m_children.begin() + std::ptrdiff_t(back), &child);
    if (ElementObserver* observer = child.tree().observer())
        observer->elementChanged(child, ElementChange::Stacking);
}

} // namespace merv
