#include <mervgauge/platform/Element.h>

#include <mervgauge/platform/Container.h>
#include <mervgauge/platform/ElementTree.h>

namespace merv {

const char* kindName(ElementKind kind) {
    switch (kind) {
    case ElementKind::UserControl:
        return "usercontrol";
    case ElementKind::TextField:
        return "textfield";
    case ElementKind::Label:
        return "label";
    case ElementKind::PictureBox:
        return "picturebox";
    case ElementKind::Line:
        return "line";
    case ElementKind::Image:
        return "image";
    case ElementKind::Shape:
        return "shape";
    case ElementKind::CommandButton:
        return "commandbutton";
    case ElementKind::Timer:
        return "timer";
    case ElementKind::TabControl:
        return "tabcontrol";
    case ElementKind::CommonDialog:
        return "commondialog";
    }
    return "element";
}

const char* changeName(ElementChange change) {
    switch (change) {
    case ElementChange::Text:
        return "text";
    case ElementChange::Caption:
        return "caption";
    case ElementChange::ForeColor:
        return "forecolor";
    case ElementChange::BackColor:
        return "backcolor";
    case ElementChange::FillColor:
        return "fillcolor";
    case ElementChange::FillStyle:
        return "fillstyle";
    case ElementChange::BorderColor:
        return "bordercolor";
    case ElementChange::Alignment:
        return "alignment";
    case ElementChange::Font:
        return "font";
    case ElementChange::Picture:
        return "picture";
    case ElementChange::Visible:
        return "visible";
    case ElementChange::Stacking:
        return "stacking";
    case ElementChange::Points:
        return "points";
    case ElementChange::Surface:
        return "surface";
    case ElementChange::Focus:
        return "focus";
    case ElementChange::Selection:
        return "selection";
    case ElementChange::Bounds:
        return "bounds";
    case ElementChange::Tab:
        return "tab";
    }
    return "change";
}

Element::Element(ElementTree& tree, std::string name, ElementKind kind)
    : m_tree(tree), m_name(std::move(name)), m_kind(kind) {}

bool Element::takesMouseInput() const noexcept {
    return m_kind != ElementKind::Shape && m_kind != ElementKind::Line &&
           m_kind != ElementKind::Timer && m_kind != ElementKind::CommonDialog;
}

void Element::setVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    notify(ElementChange::Visible);
}

void Element::setBounds(const TwipsRect& bounds) {
    if (bounds == m_bounds)
        return;
    m_bounds = bounds;
    notify(ElementChange::Bounds);
}

void Element::setFont(std::optional<Font> font) {
    if (font == m_font)
        return;
    m_font = std::move(font);
    notify(ElementChange::Font);
}

bool Element::shown() const noexcept {
    for (const Element* e = this; e; e = e->m_container ? &e->m_container->element() : nullptr) {
        if (!e->m_visible || (e->m_container && !e->m_container->showsChild(*e)))
            return false;
    }
    return true;
}

bool Element::canTakeFocus() const noexcept {
    return (m_kind == ElementKind::TextField || m_kind == ElementKind::CommandButton ||
            m_kind == ElementKind::PictureBox) &&
           m_tabIndex >= 0 && shown();
}

void Element::setFocus() {
    FocusTracker& focus = m_tree.focus();
    Element* previous = focus.focused();
    if (!focus.moveTo(this))
        return;
    // The focus may come from another tree that shares the host's tracker.
    if (previous)
        previous->notify(ElementChange::Focus);
    notify(ElementChange::Focus);
    if (onGotFocus)
        onGotFocus();
}

bool Element::hasFocus() const noexcept {
    return m_tree.focus().focused() == this;
}

void Element::zOrder(int position) {
    if (!m_container)
        return;
    if (position == 0)
        m_container->bringToFront(*this);
    else
        m_container->sendToBack(*this);
}

void Element::notify(ElementChange change) const {
    m_tree.notify({this, change, {}});
}

} // namespace merv
