#pragma once

namespace merv {

class Element;

// The keyboard focus: the host owns one for all the elements it shows.
class FocusTracker {
public:
    Element* focused() const noexcept { return m_focused; }
    // Returns true when the focus moved (it was elsewhere).
    bool moveTo(Element* element) noexcept;
    // An element that goes away gives up the focus.
    void forget(const Element* element) noexcept;

private:
    Element* m_focused = nullptr;
};

} // namespace merv
