#include <mervgauge/platform/HitTest.h>

#include <mervgauge/platform/Container.h>
#include <mervgauge/platform/Element.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/TabControl.h>

namespace merv {

namespace {

bool contains(const TwipsRect& r, int x, int y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

// The element under a point of a container, which the caller knows the point lies in.
Element* hitInside(const Container& container, int x, int y) {
    for (Element* child : container.children()) {
        if (!child->visible() || !container.showsChild(*child) || !child->takesMouseInput() ||
            !contains(child->bounds(), x, y))
            continue;
        const int innerX = x - child->bounds().left;
        const int innerY = y - child->bounds().top;
        if (child->kind() == ElementKind::PictureBox)
            return hitInside(static_cast<PictureBox&>(*child), innerX, innerY);
        if (child->kind() == ElementKind::TabControl)
            return hitInside(static_cast<TabControl&>(*child), innerX, innerY);
        return child;
    }
    return &container.element();
}

} // namespace

Element* elementAt(const Container& container, int xTwips, int yTwips) {
    const TwipsRect& bounds = container.element().bounds();
    if (xTwips < 0 || yTwips < 0 || xTwips >= bounds.width || yTwips >= bounds.height)
        return nullptr;
    if (!container.element().shown())
        return nullptr;
    return hitInside(container, xTwips, yTwips);
}

const Label* captionOf(const Element& element) {
    const Container* container = element.container();
    if (!container)
        return nullptr;
    const TwipsRect& own = element.bounds();
    const Label* nearest = nullptr;
    for (const Element* child : container->children()) {
        if (child == &element || child->kind() != ElementKind::Label)
            continue;
        const TwipsRect& r = child->bounds();
        const int middleY = r.top + r.height / 2;
        const int middleX = r.left + r.width / 2;
        if (middleY < own.top || middleY >= own.top + own.height || middleX >= own.left)
            continue;
        if (!nearest || r.left + r.width > nearest->bounds().left + nearest->bounds().width)
            nearest = static_cast<const Label*>(child);
    }
    return nearest;
}

} // namespace merv
