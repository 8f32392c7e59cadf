#include "NoticeRepaints.h"

#include "GaugePainter.h"

#include <mervgauge/platform/PictureBox.h>

#include <vector>

namespace merv::qt {

NoticeRepaints::NoticeRepaints(GaugePainter& painter, const ElementTree& tree)
    : m_painter(painter), m_tree(tree) {
    for (const auto& element : tree.elements()) {
        if (element->kind() == ElementKind::Line)
            m_lineBoxes[element.get()] = painter.lineBox(*element);
    }
}

namespace {

// The rectangles of one catch-up, few and mostly nested (a line's old and new boxes, a label
// written twice): uniting them one by one would build and throw away a region for each.
class RectList {
public:
    void add(const QRect& rect) {
        if (rect.isEmpty())
            return;
        for (const QRect& kept : m_rects) {
            if (kept.contains(rect))
                return;
        }
        std::erase_if(m_rects, [&](const QRect& kept) { return rect.contains(kept); });
        m_rects.push_back(rect);
    }
    QRegion region() const {
        QRegion region;
        if (m_rects.size() == 1)
            return QRegion(m_rects.front());
        for (const QRect& rect : m_rects)
            region += rect;
        return region;
    }

private:
    std::vector<QRect> m_rects;
};

} // namespace

NoticeRepaints::Repaint NoticeRepaints::take(const std::vector<ElementNotice>& notices,
                                             const std::function<QRect(const QRectF&)>& toView) {
    Repaint repaint;
    RectList rects;
    // One pixel more on each side of an element for antialiased edges.
    const auto around = [&](const Element& element) {
        return toView(m_painter.elementRect(element)).adjusted(-1, -1, 1, 1);
    };
    for (const ElementNotice& notice : notices) {
        const Element& element = *notice.element;
        switch (notice.change) {
        case ElementChange::Points: {
            QRect& box = m_lineBoxes[&element];
            rects.add(toView(box));
            box = m_painter.lineBox(element);
            rects.add(toView(box));
            break;
        }
        case ElementChange::Surface:
            rects.add(toView(
                m_painter.takeSurface(static_cast<const PictureBox&>(element), notice.dirty)));
            break;
        case ElementChange::Focus:
        case ElementChange::Selection:
        case ElementChange::Text:
            if (element.shown())
                rects.add(around(element));
            break;
        case ElementChange::Bounds:
            repaint.whole = true;
            repaint.rootResized |= &element == &m_tree.root();
            break;
        default:
            rects.add(element.kind() == ElementKind::Line ? toView(m_lineBoxes[&element])
                                                          : around(element));
            break;
        }
    }
    repaint.region = rects.region();
    return repaint;
}

} // namespace merv::qt
