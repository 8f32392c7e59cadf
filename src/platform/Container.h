#pragma once

#include <cstddef>
#include <vector>

namespace merv {

class Element;

// The stacking of the elements placed in a container, front to back. Windowed elements
// always stand in front of the windowless ones.
class Container {
public:
    explicit Container(Element& self) : m_self(self) {}
    virtual ~Container() = default;
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    Element& element() const noexcept { return m_self; }

    // Places a child behind those already added: the layout adds them front to back.
    virtual void add(Element& child);
    // Front to back.
    const std::vector<Element*>& children() const noexcept { return m_children; }

    // Each tells the child's Stacking only when its place really changed.
    void bringToFront(Element& child);
    void sendToBack(Element& child);

    // Whether the container shows a child that is itself visible: a tab control shows only
    // the children on the tab it shows.
    virtual bool showsChild(const Element& /*child*/) const noexcept { return true; }

private:
    // Moves the child to the place it would take once taken out; false when it is there.
    bool moveTo(Element& child, bool front);

    Element& m_self;
    std::vector<Element*> m_children;
    std::size_t m_windowed = 0; // the windowed children, which stand first
};

} // namespace merv
