#pragma once

#include <functional>

class QEvent;

namespace merv {
class Element;
class ElementTree;
} // namespace merv

namespace merv::qt {

class TextInput;

// Runs a call into the control, reporting its errors as the view reports them.
using ControlRunner = std::function<void(const std::function<void()>&)>;

// What every view does with an event of the real input standing in for an element (a text
// field's input, shown in `shown`, or a button's, with `shown` null): true when the element
// took it and the input must not handle it itself. Keys reach a field only through its
// handlers (KeyPress, the guards, Change), so nothing typed changes the input's text behind
// the field's back; Enter and Space follow the control's keyboard rules. Tab and Backtab are
// left to the view, which moves the focus in the control's order. `mirroring` is true while
// the view sets the input from its element, whose focus then is not a person's doing.
bool takeInputEvent(ElementTree& tree, Element& element, const TextInput* shown, QEvent& event,
                    const ControlRunner& run, bool mirroring);

} // namespace merv::qt
