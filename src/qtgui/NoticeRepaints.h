#pragma once

#include <mervgauge/platform/ElementTree.h>

#include <QRect>
#include <QRegion>

#include <functional>
#include <map>
#include <vector>

namespace merv::qt {

class GaugePainter;

// What a view repaints for the notices the control sent since the view last caught up: each
// changed element's rectangle, a line's old and new boxes, the pixels a surface reports
// changed; nothing for the hidden storage fields, which change with every value write.
class NoticeRepaints {
public:
    NoticeRepaints(GaugePainter& painter, const ElementTree& tree);

    struct Repaint {
        QRegion region;           // in view pixels
        bool whole = false;       // an element moved or was resized: the whole view
        bool rootResized = false; // the control's own extent among them
    };
    // The repaint for the notices, with the surfaces' changes taken from them into the
    // painter. toView gives the whole view pixels covering a rectangle of control pixels.
    Repaint take(const std::vector<ElementNotice>& notices,
                 const std::function<QRect(const QRectF&)>& toView);

private:
    GaugePainter& m_painter;
    const ElementTree& m_tree;
    // Each line's box as last painted.
    std::map<const Element*, QRect> m_lineBoxes;
};

} // namespace merv::qt
