#pragma once

#include <mervgauge/platform/Container.h>
#include <mervgauge/platform/Element.h>
#include <mervgauge/platform/Surface.h>

#include <cstdint>
#include <memory>

namespace merv {

// A picture box: a container of elements and, where it is drawn on, a pixel surface whose
// Cls restores the box's BackColor.
class PictureBox : public Element, public Container {
public:
    PictureBox(ElementTree& tree, std::string name);

    std::uint32_t backColor() const noexcept { return m_backColor; }
    void setBackColor(std::uint32_t color);
    std::uint32_t foreColor() const noexcept { return m_foreColor; }
    void setForeColor(std::uint32_t color);

    // Gives the box a drawing surface of width by height pixels.
    void createSurface(int width, int height);
    bool hasSurface() const noexcept { return m_surface != nullptr; }
    Surface& surface();
    const Surface& surface() const;

    // Clears the surface and presents it.
    void cls();
    // Presents what was drawn: views are told of the pixels that changed since the last
    // present, and of nothing when none did.
    void refresh();
    // What cls and refresh do at once, or once held-back notices are told.
    void present();

private:
    std::uint32_t m_backColor = 0x8000000Fu; // the host's button-face colour
    std::uint32_t m_foreColor = 0x80000012u;
    std::unique_ptr<Surface> m_surface;
};

} // namespace merv
