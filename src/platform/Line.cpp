#include <mervgauge/platform/Line.h>

namespace merv {

void Line::setPoint(float& member, float v) {
    if (member == v)
        return;
    member = v;
    notify(ElementChange::Points);
}

void Line::setX1(float v) {
    setPoint(m_x1, v);
}
void Line::setY1(float v) {
    setPoint(m_y1, v);
}
void Line::setX2(float v) {
    setPoint(m_x2, v);
}
void Line::setY2(float v) {
    setPoint(m_y2, v);
}

void Line::setBorderColor(std::uint32_t color) {
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    notify(ElementChange::BorderColor);
}

} // namespace merv
