#pragma once

#include <mervgauge/platform/Container.h>
#include <mervgauge/platform/Element.h>

#include <cstdint>
#include <functional>

namespace merv {

// The control's own surface: the root container, with its back colour and its extent in
// twips. Changing the extent tells the host, which may answer with a Resize.
class UserControl : public Element, public Container {
public:
    explicit UserControl(ElementTree& tree);

    std::uint32_t backColor() const noexcept { return m_backColor; }
    void setBackColor(std::uint32_t color);

    int width() const noexcept { return m_width; }
    int height() const noexcept { return m_height; }
    void setWidth(int twips);
    void setHeight(int twips);

    // Set by the host: runs after the extent changed.
    std::function<void()> onExtentChanged;

private:
    std::uint32_t m_backColor = 0x8000000Fu;
    int m_width = 0;
    int m_height = 0;
};

} // namespace merv
