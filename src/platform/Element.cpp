#include "platform/Element.h"

#include "platform/Container.h"
#include "platform/ElementTree.h"

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

Element::Element(ElementTree& tree, std::string name, ElementKind kind)
    : m_tree(tree), m_name(std::move(name)), m_kind(kind) {}

bool Element::ownsWindow() const noexcept {
    return m_kind == ElementKind::PictureBox || m_kind == ElementKind::TextField ||
           m_kind == ElementKind::CommandButton || m_kind == ElementKind::UserControl ||
           m_kind == ElementKind::TabControl;
}

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
    if (!m_tree.focus().moveTo(this))
        return;
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
    if (ElementObserver* observer = m_tree.observer())
        observer->elementChanged(*this, change);
}

} // namespace merv
