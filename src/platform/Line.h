#pragma once

#include <mervgauge/platform/Element.h>

#include <cstdint>

namespace merv {

// A line element; its end points are in the units of its container (pixels on a picture box
// that draws in pixels).
class Line : public Element {
public:
    Line(ElementTree& tree, std::string name) : Element(tree, std::move(name), ElementKind::Line) {}

    float x1() const noexcept { return m_x1; }
    float y1() const noexcept { return m_y1; }
    float x2() const noexcept { return m_x2; }
    float y2() const noexcept { return m_y2; }
    void setX1(float v);
    void setY1(float v);
    void setX2(float v);
    void setY2(float v);

    std::uint32_t borderColor() const noexcept { return m_borderColor; }
    void setBorderColor(std::uint32_t color);

private:
    void setPoint(float& member, float v);
    float m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    std::uint32_t m_borderColor = 0x80000008u;
};

} // namespace merv
