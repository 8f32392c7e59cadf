#include <mervgauge/platform/Shape.h>

namespace merv {

void Shape::setFillColor(std::uint32_t color) {
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    notify(ElementChange::FillColor);
}

void Shape::setBorderColor(std::uint32_t color) {
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    notify(ElementChange::BorderColor);
}

void Shape::setBackColor(std::uint32_t color) {
    if (color == m_backColor)
        return;
    m_backColor = color;
    notify(ElementChange::BackColor);
}

void Shape::setSolidFill(bool solid) {
    if (solid == m_solidFill)
        return;
    m_solidFill = solid;
    notify(ElementChange::FillStyle);
}

} // namespace merv
