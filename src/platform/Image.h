#pragma once

#include <mervgauge/platform/Element.h>

#include <cstdint>
#include <span>

namespace merv {

// An image element showing encoded picture bytes, stretched to its bounds by the view.
class Image : public Element {
public:
    Image(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::Image) {}

    std::span<const std::uint8_t> picture() const noexcept { return m_picture; }
    // The bytes stay the caller's; they must outlive the element.
    void setPicture(std::span<const std::uint8_t> bytes) {
        if (bytes.data() == m_picture.data() && bytes.size() == m_picture.size())
            return;
        m_picture = bytes;
        notify(ElementChange::Picture);
    }
    bool stretch() const noexcept { return m_stretch; }
    void setStretch(bool stretch) {
        if (stretch == m_stretch)
            return;
        m_stretch = stretch;
        notify(ElementChange::Picture);
    }

private:
    std::span<const std::uint8_t> m_picture;
    bool m_stretch = false;
};

} // namespace merv
