#pragma once

#include "host/JsonValues.h"

#include <string_view>

namespace merv {
class Element;
class ElementTree;
} // namespace merv

namespace merv::host {

// The state of an element as the host reports it: its kind, what it shows, and its place in
// its container.
Json describe(const Element& element);

// An element of a control or page by name; an unknown name is a usage error.
Element& elementNamed(const ElementTree& tree, std::string_view name);

} // namespace merv::host
