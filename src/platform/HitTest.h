#pragma once

namespace merv {

class Container;
class Element;

// The element that a click at a point reaches: the frontmost shown element under the point
// that takes mouse input, looking into picture boxes and into the shown tab of tab controls;
// the container itself where none does.
// The point is in twips of the container's client area. Null when the point lies outside the
// container. A pure function of the layout, so views and scripts share it.
Element* elementAt(const Container& container, int xTwips, int yTwips);

} // namespace merv
