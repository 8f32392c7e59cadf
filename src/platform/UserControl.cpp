#include <mervgauge/platform/UserControl.h>

namespace merv {

UserControl::UserControl(ElementTree& tree)
    : Element(tree, "UserControl", ElementKind::UserControl),
      Container(static_cast<Element&>(*this)) {}

void UserControl::setBackColor(std::uint32_t color) {
    if (color == m_backColor)
        return;
    m_backColor = color;
    notify(ElementChange::BackColor);
}

void UserControl::setWidth(int twips) {
    if (twips == m_width)
        return;
    m_width = twips;
    setBounds({bounds().left, bounds().top, twips, bounds().height});
    if (onExtentChanged)
        onExtentChanged();
}

void UserControl::setHeight(int twips) {
    if (twips == m_height)
        return;
    m_height = twips;
    setBounds({bounds().left, bounds().top, bounds().width, twips});
    if (onExtentChanged)
        onExtentChanged();
}

} // namespace merv
