#include <mervgauge/platform/Label.h>

namespace merv {

void Label::setCaption(std::string caption) {
    if (caption == m_caption)
        return;
    m_caption = std::move(caption);
    ++m_generation;
    notify(ElementChange::Caption);
}

void Label::setForeColor(std::uint32_t color) {
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    notify(ElementChange::ForeColor);
}

void Label::setAlignment(Alignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    notify(ElementChange::Alignment);
}

} // namespace merv
