#pragma once

#include <mervgauge/platform/Element.h>

#include <cstdint>

namespace merv {

class Shape : public Element {
public:
    Shape(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::Shape) {}

    std::uint32_t fillColor() const noexcept { return m_fillColor; }
    void setFillColor(std::uint32_t color);
    std::uint32_t borderColor() const noexcept { return m_borderColor; }
    void setBorderColor(std::uint32_t color);
    std::uint32_t backColor() const noexcept { return m_backColor; }
    void setBackColor(std::uint32_t color);
    // 0: transparent fill, otherwise solid.
    bool solidFill() const noexcept { return m_solidFill; }
    void setSolidFill(bool solid);

private:
    std::uint32_t m_fillColor = 0;
    std::uint32_t m_borderColor = 0;
    std::uint32_t m_backColor = 0x80000005u;
    bool m_solidFill = false;
};

} // namespace merv
