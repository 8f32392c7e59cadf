#include <mervgauge/platform/PictureBox.h>

#include <mervgauge/platform/ElementTree.h>

#include <cassert>

namespace merv {

PictureBox::PictureBox(ElementTree& tree, std::string name)
    : Element(tree, std::move(name), ElementKind::PictureBox),
      Container(static_cast<Element&>(*this)) {}

void PictureBox::setBackColor(std::uint32_t color) {
    if (m_surface)
        m_surface->setBackColor(color);
    if (color == m_backColor)
        return;
    m_backColor = color;
    notify(ElementChange::BackColor);
}

void PictureBox::setForeColor(std::uint32_t color) {
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    notify(ElementChange::ForeColor);
}

void PictureBox::createSurface(int width, int height) {
    m_surface = std::make_unique<Surface>(width, height, m_backColor);
}

Surface& PictureBox::surface() {
    assert(m_surface && "the picture box draws on a surface");
    return *m_surface;
}

const Surface& PictureBox::surface() const {
    assert(m_surface && "the picture box draws on a surface");
    return *m_surface;
}

void PictureBox::cls() {
    if (!m_surface)
        return;
    m_surface->cls();
    refresh();
}

void PictureBox::refresh() {
    if (!m_surface)
        return;
    if (tree().deferringNotices())
        tree().presentLater(*this);
    else
        present();
}

void PictureBox::present() {
    if (!m_surface)
        return;
    if (!tree().observed()) {
        m_surface->presentUnwatched();
        return;
    }
    const PixelRect dirty = m_surface->present();
    if (!dirty.empty())
        tree().notify({this, ElementChange::Surface, dirty});
}

} // namespace merv
