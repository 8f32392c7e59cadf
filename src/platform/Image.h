#pragma once

#include "platform/Element.h"

#include <cstdint>
#include <span>

namespace merv {

// An image element showing encoded picture bytes, stretched to its bounds by the view.
class Image : public Element {
public:
    Image(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::Image) {}

    std::span<const std::uint8_t> picture() const noexcept { return m_picture; }
    void setPicture(std::span<const std::uint8_t> bytes) noexcept { m_picture = bytes; }
    bool stretch() const noexcept { return m_stretch; }
    void setStretch(bool stretch) noexcept { m_stretch = stretch; }

private:
    std::span<const std::uint8_t> m_picture;
    bool m_stretch = false;
};

} // namespace merv
