#pragma once

namespace merv {

class Container;
class Element;
class Label;

// The element that a click at a point reaches: the frontmost shown element under the point
// that takes mouse input, looking into picture boxes and into the shown tab of tab controls;
// the container itself where none does.
// The point is in twips of the container's client area. Null when the point lies outside the
// container. A pure function of the layout, so views and scripts share it.
Element* elementAt(const Container& container, int xTwips, int yTwips);

// The label that captions an element: of the labels in the element's container level with it
// (their middle within its height) and standing to its left, the nearest. Null where none
// does. Views name an input after it, as a person reading the form would.
const Label* captionOf(const Element& element);

} // namespace merv
