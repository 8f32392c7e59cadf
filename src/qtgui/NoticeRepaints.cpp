#include "NoticeRepaints.h"

#include "GaugePainter.h"

#include <mervgauge/platform/PictureBox.h>

namespace merv::qt {

NoticeRepaints::NoticeRepaints(GaugePainter& painter, const ElementTree& tree)
    : m_painter(painter), m_tree(tree) {
    for (const auto& element : tree.elements()) {
        if (element->kind() == ElementKind::Line)
            m_lineBoxes[element.get()] = painter.lineBox(*element);
    }
}

NoticeRepaints::Repaint NoticeRepaints::take(const std::vector<ElementNotice>& notices,
                                             const std::function<QRect(const QRectF&)>& toView) {
    Repaint repaint;
    // One pixel more on each side of an element for antialiased edges.
    const auto around = [&](const Element& element) {
        return toView(m_painter.elementRect(element)).adjusted(-1, -1, 1, 1);
    };
    for (const ElementNotice& notice : notices) {
        const Element& element = *notice.element;
        switch (notice.change) {
        case ElementChange::Points: {
            QRect& box = m_lineBoxes[&element];
            repaint.region += toView(box);
            box = m_painter.lineBox(element);
            repaint.region += toView(box);
            break;
        }
        case ElementChange::Surface:
            repaint.region += toView(
                m_painter.takeSurface(static_cast<const PictureBox&>(element), notice.dirty));
            break;
        case ElementChange::Focus:
        case ElementChange::Selection:
        case ElementChange::Text:
            if (element.shown())
                repaint.region += around(element);
            break;
        case ElementChange::Bounds:
            repaint.whole = true;
            repaint.rootResized |= &element == &m_tree.root();
            break;
        default:
            repaint.region += element.kind() == ElementKind::Line ? toView(m_lineBoxes[&element])
                                                                  : around(element);
            break;
        }
    }
    return repaint;
}

} // namespace merv::qt
