#include "qt/GaugePainter.h"

#include "dial/DialFace.h"
#include "dial/FaceDrawing.h"
#include "layout/SurfaceLayout.h"
#include "qt/FontOf.h"
#include "qt/OleColor.h"

#include "platform/ContainerSite.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Line.h"
#include "platform/PictureBox.h"
#include "platform/Shape.h"

#include <QPainter>

#include <cmath>

namespace merv::qt {

namespace {

// The needle's pen width in pixels; the layout leaves it to the view.
constexpr qreal LinePenWidth = 2.0;

QPointF twipsToPixels(int x, int y) {
    return {qreal(x) / Layout::TwipsPerPixel, qreal(y) / Layout::TwipsPerPixel};
}

QRectF rectOf(const TwipsRect& bounds, QPointF origin) {
    return {origin + twipsToPixels(bounds.left, bounds.top),
            QSizeF(qreal(bounds.width) / Layout::TwipsPerPixel,
                   qreal(bounds.height) / Layout::TwipsPerPixel)};
}

// The top left corner of an element's container, in control pixels.
QPointF containerOrigin(const Element& element) {
    QPointF origin;
    for (const Container* c = element.container(); c && c->element().container();
         c = c->element().container())
        origin += twipsToPixels(c->element().bounds().left, c->element().bounds().top);
    return origin;
}

Qt::Alignment alignmentOf(Alignment alignment) {
    switch (alignment) {
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Copies the surface's pixels in the rectangle into the image (of the surface's size), their
// colours as the site resolves them.
void copyPixels(const Surface& surface, const QRect& rect, const ContainerSite& site,
                QImage& image) {
    const auto& pixels = surface.pixels();
    // A face holds a handful of colours: resolve each run of one colour once.
    std::uint32_t last = 0;
    QRgb lastRgb = qRgb(0, 0, 0);
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const std::uint32_t c =
                pixels[std::size_t(y) * std::size_t(surface.width()) + std::size_t(x)];
            if (c != last) {
                last = c;
                lastRgb = qColorOf(site.realColor(c)).rgb();
            }
            row[x] = lastRgb;
        }
    }
}

// The device pixels per control pixel the painter really draws into: a widget rendered into an
// image of ratio 2 still reports ratio 1 itself; the device transform tells the truth.
qreal deviceRatio(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    return std::hypot(t.m11(), t.m12());
}

QImage faceImage(const Surface& surface, const ContainerSite& site) {
    QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
    copyPixels(surface, image.rect(), site, image);
    return image;
}

} // namespace

GaugePainter::GaugePainter(const ElementTree& tree, const ContainerSite& site)
    : m_tree(tree), m_site(site) {
    systemColorsChanged();
}

void GaugePainter::systemColorsChanged() {
    for (const auto& element : m_tree.elements()) {
        if (element->kind() != ElementKind::PictureBox)
            continue;
        const auto& box = static_cast<const PictureBox&>(*element);
        if (box.hasSurface())
            m_faces[&box] = faceImage(box.surface(), m_site);
    }
    m_sharpFace = {};
}

QColor GaugePainter::colorOf(std::uint32_t oleColor) const {
    return toQColor(oleColor, m_site);
}

QRect GaugePainter::takeSurface(const PictureBox& box, const PixelRect& dirty) {
    const auto face = m_faces.find(&box);
    if (face == m_faces.end() || dirty.empty())
        return {};
    const QRect changed =
        QRect(dirty.left, dirty.top, dirty.width, dirty.height).intersected(face->second.rect());
    copyPixels(box.surface(), changed, m_site, face->second);
    if (&box == m_faceBox)
        m_sharpFace = {};
    const QRectF boxRect = elementRect(box);
    return changed.translated(boxRect.topLeft().toPoint()).intersected(boxRect.toAlignedRect());
}

void GaugePainter::setFace(const PictureBox& box, const DialFace& face) {
    m_faceBox = &box;
    m_face = &face;
    m_sharpFace = {};
}

const QImage& GaugePainter::sharpFace(const PictureBox& box, const QImage& face,
                                      qreal ratio) const {
    if (&box != m_faceBox || !m_face->bandsDrawn())
        return face;
    if (m_sharpFace.ratio != ratio) {
        const Surface& plain = box.surface();
        Surface sharp(int(std::ceil(plain.width() * ratio)), int(std::ceil(plain.height() * ratio)),
                      plain.backColor());
        dial::drawFace(sharp, m_face->geometry(), m_face->colors(), ratio);
        m_sharpFace = {ratio, faceImage(sharp, m_site)};
        m_sharpFace.image.setDevicePixelRatio(ratio);
    }
    return m_sharpFace.image;
}

QRectF GaugePainter::elementRect(const Element& element) const {
    if (!element.container())
        return rectOf({0, 0, Layout::ControlWidth, Layout::ControlHeight}, {});
    return rectOf(element.bounds(), containerOrigin(element));
}

QRect GaugePainter::lineBox(const Element& element) const {
    const auto& line = static_cast<const Line&>(element);
    const QPointF origin = containerOrigin(line);
    const QRectF box =
        QRectF(origin + QPointF(line.x1(), line.y1()), origin + QPointF(line.x2(), line.y2()))
            .normalized();
    // The pen reaches half its width (and one pixel of antialiasing) beyond the end points.
    const int margin = int(LinePenWidth) + 1;
    return box.toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

QImage GaugePainter::picture(const Element& element) const {
    const auto bytes = static_cast<const Image&>(element).picture();
    if (bytes.empty())
        return {};
    auto it = m_pictures.find(bytes.data());
    if (it == m_pictures.end()) {
        QImage decoded = QImage::fromData(bytes.data(), int(bytes.size()), "GIF")
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        it = m_pictures.emplace(bytes.data(), std::move(decoded)).first;
    }
    return it->second;
}

void GaugePainter::paint(QPainter& painter) const {
    const UserControl& root = m_tree.root();
    painter.fillRect(elementRect(root), colorOf(root.backColor()));
    paintContainer(painter, root, {});
}

void GaugePainter::paintContainer(QPainter& painter, const Container& container,
                                  QPointF origin) const {
    const auto& children = container.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        const Element& child = **it;
        if (!child.visible() || !container.showsChild(child))
            continue;
        paintElement(painter, child, rectOf(child.bounds(), origin), origin);
    }
}

void GaugePainter::paintElement(QPainter& painter, const Element& element, const QRectF& rect,
                                QPointF origin) const {
    switch (element.kind()) {
    case ElementKind::Shape: {
        const auto& shape = static_cast<const Shape&>(element);
        if (shape.solidFill())
            painter.fillRect(rect, colorOf(shape.fillColor()));
        painter.setPen(QPen(colorOf(shape.borderColor()), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
        break;
    }
    case ElementKind::Label: {
        const auto& label = static_cast<const Label&>(element);
        if (label.caption().empty())
            break;
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.setFont(label.font() ? fontOf(*label.font()) : painter.font());
        painter.setPen(colorOf(label.foreColor()));
        painter.drawText(rect,
                         int(alignmentOf(label.alignment()) | Qt::AlignTop | Qt::TextWordWrap),
                         QString::fromStdString(label.caption()));
        painter.restore();
        break;
    }
    case ElementKind::Image: {
        const QImage image = picture(element);
        if (image.isNull())
            break;
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (static_cast<const Image&>(element).stretch())
            painter.drawImage(rect, image);
        else
            painter.drawImage(rect.topLeft(), image);
        painter.restore();
        break;
    }
    case ElementKind::Line: {
        const auto& line = static_cast<const Line&>(element);
        // Line points are pixels of the container; a pixel's centre is half a unit in.
        const QPointF centre(0.5, 0.5);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(
            QPen(colorOf(line.borderColor()), LinePenWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(origin + QPointF(line.x1(), line.y1()) + centre,
                         origin + QPointF(line.x2(), line.y2()) + centre);
        painter.restore();
        break;
    }
    case ElementKind::PictureBox: {
        const auto& box = static_cast<const PictureBox&>(element);
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.fillRect(rect, colorOf(box.backColor()));
        if (const auto face = m_faces.find(&box); face != m_faces.end()) {
            const qreal ratio = deviceRatio(painter);
            painter.drawImage(rect.topLeft(),
                              ratio > 1.0 ? sharpFace(box, face->second, ratio) : face->second);
        }
        paintContainer(painter, box, rect.topLeft());
        painter.restore();
        break;
    }
    default:
        // Text fields and buttons are real widgets; timers and dialogs show nothing.
        break;
    }
}

} // namespace merv::qt
