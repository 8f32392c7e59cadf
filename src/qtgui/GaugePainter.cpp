#include "GaugePainter.h"

#include "FieldText.h"
#include "FontOf.h"
#include "OleColor.h"
#include <mervgauge/dial/DialFace.h>
#include <mervgauge/dial/FaceDrawing.h>
#include <mervgauge/layout/SurfaceLayout.h>

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/Image.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/Line.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/Shape.h>
#include <mervgauge/platform/TextField.h>
#include <mervgauge/platform/Utf8.h>

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace merv::qt {

namespace {

// The needle's pen width in pixels; the layout leaves it to the view.
constexpr qreal LinePenWidth = 2.0;

// The host's colours fields and buttons are drawn in, as system colour values.
constexpr std::uint32_t SystemHighlight = 0x8000000Du;
constexpr std::uint32_t SystemHighlightText = 0x8000000Eu;
constexpr std::uint32_t SystemButtonFace = 0x8000000Fu;
constexpr std::uint32_t SystemButtonShadow = 0x80000010u;
constexpr std::uint32_t SystemButtonText = 0x80000012u;
// How far inside a button its focus rectangle is drawn, in control pixels.
constexpr qreal ButtonFocusInset = 3;

// Whole numbers below and above a coordinate, without a call into the maths library: the
// painter takes the pixels of every child of a container on every paint.
int floorToInt(qreal v) {
    const int i = int(v);
    return v < i ? i - 1 : i;
}
int ceilToInt(qreal v) {
    const int i = int(v);
    return v > i ? i + 1 : i;
}

// The whole pixels covering a rectangle, as QRectF::toAlignedRect gives them.
QRect alignedRect(const QRectF& r) {
    const int left = floorToInt(r.x());
    const int top = floorToInt(r.y());
    return QRect(left, top, ceilToInt(r.x() + r.width()) - left,
                 ceilToInt(r.y() + r.height()) - top);
}

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
        // Taken from the surface when first painted: a gauge that never shows (a hidden page
        // of a large panel) holds no image.
        if (box.hasSurface())
            m_faces[&box] = QImage();
    }
    m_sharpFace = {};
}

const QImage& GaugePainter::faceOf(const PictureBox& box, QImage& face) const {
    if (face.isNull())
        face = faceImage(box.surface(), m_site);
    return face;
}

QColor GaugePainter::colorOf(std::uint32_t oleColor) const {
    return toQColor(oleColor, m_site);
}

QRect GaugePainter::takeSurface(const PictureBox& box, const PixelRect& dirty) {
    const auto face = m_faces.find(&box);
    if (face == m_faces.end() || dirty.empty())
        return {};
    const QRect changed =
        QRect(dirty.left, dirty.top, dirty.width, dirty.height)
            .intersected(QRect(0, 0, box.surface().width(), box.surface().height()));
    // An image not taken yet is taken whole when first painted.
    if (!face->second.isNull())
        copyPixels(box.surface(), changed, m_site, face->second);
    QRect reach = changed;
    if (&box == m_faceBox) {
        m_sharpFace = {};
        // Above ratio 1 the face is drawn again at device resolution: a band's edge can fall a
        // control pixel away from where the control drew it, and its antialiasing one more.
        reach.adjust(-SharpFaceSpill, -SharpFaceSpill, SharpFaceSpill, SharpFaceSpill);
    }
    const QRectF boxRect = elementRect(box);
    return reach.translated(boxRect.topLeft().toPoint()).intersected(boxRect.toAlignedRect());
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
    return alignedRect(box).adjusted(-margin, -margin, margin, margin);
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

void GaugePainter::paint(QPainter& painter, const QRegion& region) const {
    const UserControl& root = m_tree.root();
    std::vector<QRect> covers;
    const auto parts = partsToPaint(root, {}, region, covers);
    const QRectF rect = elementRect(root);
    if (!hiddenBehind(alignedRect(rect), region, covers))
        painter.fillRect(rect, colorOf(root.backColor()));
    paintParts(painter, parts, region);
}

namespace {

// Whether the painter draws elements of the kind; text fields and buttons are real widgets,
// timers and dialogs show nothing.
bool paints(ElementKind kind) {
    switch (kind) {
    case ElementKind::Label:
    case ElementKind::PictureBox:
    case ElementKind::Line:
    case ElementKind::Image:
    case ElementKind::Shape:
    case ElementKind::TextField:
    case ElementKind::CommandButton:
        return true;
    default:
        return false;
    }
}

// The whole pixels inside a rectangle.
QRect innerPixels(const QRectF& rect) {
    return QRect(QPoint(ceilToInt(rect.left()), ceilToInt(rect.top())),
                 QPoint(floorToInt(rect.right()) - 1, floorToInt(rect.bottom()) - 1));
}

// The pixels a one-pixel border around the rectangle can touch, side by side.
std::array<QRect, 4> outlineOf(const QRectF& rect) {
    const QRect a = alignedRect(rect);
    constexpr int Reach = 2;
    return {QRect(a.left(), a.top(), a.width(), Reach),
            QRect(a.left(), a.bottom() - Reach + 1, a.width(), Reach),
            QRect(a.left(), a.top(), Reach, a.height()),
            QRect(a.right() - Reach + 1, a.top(), Reach, a.height())};
}

} // namespace

const QFont& GaugePainter::fontFor(const Element& element, const Font& font) const {
    // Qt resolves a new QFont's engine on first use: keep each element's until its font changes.
    auto& [from, resolved] = m_fonts[&element];
    if (!from || !(*from == font)) {
        from = font;
        resolved = fontOf(font);
    }
    return resolved;
}

QRectF GaugePainter::reachOf(const Element& element, const QRectF& rect) const {
    if (element.kind() == ElementKind::Line)
        return lineBox(element);
    if (element.kind() == ElementKind::Image && !static_cast<const Image&>(element).stretch())
        return QRectF(rect.topLeft(), QSizeF(picture(element).size()));
    return rect;
}

bool GaugePainter::hiddenBehind(const QRect& reach, const QRegion& region,
                                const std::vector<QRect>& covers) {
    for (const QRect& r : region) {
        const QRect part = r & reach;
        if (part.isEmpty())
            continue;
        if (std::none_of(covers.begin(), covers.end(),
                         [&](const QRect& cover) { return cover.contains(part); }))
            return false;
    }
    return true;
}

bool GaugePainter::opaque(const Element& element) {
    // The control's colours carry no alpha: a solid shape, and a picture box filled with its
    // back colour, cover every pixel of their rectangles.
    switch (element.kind()) {
    case ElementKind::Shape:
        return static_cast<const Shape&>(element).solidFill();
    case ElementKind::PictureBox:
    case ElementKind::TextField: // filled with its back colour
    case ElementKind::CommandButton:
        return true;
    default:
        return false;
    }
}

bool GaugePainter::faceCovers(const PictureBox& box, const QRectF& rect) const {
    // The face image is opaque (RGB32).
    return m_faces.count(&box) > 0 &&
           QRectF(rect.topLeft(), QSizeF(box.surface().width(), box.surface().height()))
               .contains(rect);
}

std::vector<GaugePainter::Part> GaugePainter::partsToPaint(const Container& container,
                                                           QPointF origin, const QRegion& region,
                                                           std::vector<QRect>& covers) const {
    // Front to back, so that each element knows the opaque ones in front of it.
    std::vector<Part> parts;
    const QRect bounding = region.boundingRect();
    for (const auto& child : container.children()) {
        if (!paints(child->kind()) || !child->visible() || !container.showsChild(*child))
            continue;
        const QRectF rect = rectOf(child->bounds(), origin);
        // The cheap rejects: an element outside the region, or hidden there behind opaque
        // elements in front of it, would change no pixel of it.
        const QRect reach = alignedRect(reachOf(*child, rect));
        if (!bounding.intersects(reach) || !region.intersects(reach) ||
            hiddenBehind(reach, region, covers))
            continue;
        parts.push_back({child, rect, origin, reach});
        if (opaque(*child))
            covers.push_back(innerPixels(rect));
    }
    return parts;
}

void GaugePainter::paintParts(QPainter& painter, const std::vector<Part>& parts,
                              const QRegion& region) const {
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        paintElement(painter, *it->element, it->rect, it->origin, region);
}

std::optional<GaugePainter::Placement> GaugePainter::placementOf(const QPainter& painter,
                                                                 const QRectF& rect) {
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() <= 0 || !qFuzzyCompare(t.m11(), t.m22()))
        return std::nullopt;
    const QRectF device = t.mapRect(rect);
    const QRect pixels = alignedRect(device);
    const QPointF fraction = device.topLeft() - QPointF(pixels.topLeft());
    return Placement{pixels, QTransform(t.m11(), 0, 0, t.m22(), fraction.x(), fraction.y())};
}

template <typename Draw>
void GaugePainter::paintSprite(QPainter& painter, const Element& element, SpriteKey key,
                               const QRectF& rect, Draw&& draw) const {
    const auto placement = placementOf(painter, rect);
    Sprite* sprite = nullptr;
    if (placement && !placement->pixels.isEmpty()) {
        key.rect = rect;
        key.local = placement->local;
        sprite = &m_sprites[&element];
        if (!(sprite->key == key)) {
            // New content (a value label that changes with every write, say) is drawn directly
            // until it is painted a second time unchanged: a sprite would cost more than it saves.
            sprite->key = std::move(key);
            sprite->image = QImage();
            sprite = nullptr;
        }
    }
    if (!sprite) {
        painter.save();
        painter.translate(rect.topLeft());
        draw(painter);
        painter.restore();
        return;
    }
    if (sprite->image.isNull()) {
        QImage image(placement->pixels.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setTransform(placement->local);
        draw(p);
        p.end();
        // Set after drawing, so that the sprite's painter drew in device pixels.
        image.setDevicePixelRatio(placement->local.m11());
        sprite->image = std::move(image);
    }
    // At the sprite's own ratio the copy lands on whole device pixels, one to one.
    painter.drawImage(
        painter.deviceTransform().inverted().map(QPointF(placement->pixels.topLeft())),
        sprite->image);
}

void GaugePainter::paintLabel(QPainter& painter, const Element& element, const QRectF& rect) const {
    const auto& label = static_cast<const Label&>(element);
    if (label.caption().empty())
        return;
    SpriteKey key;
    key.content = label.captionGeneration();
    const QColor color = colorOf(label.foreColor());
    key.color = color.rgba();
    key.font = label.font();
    if (!label.font())
        key.fallbackFont = painter.font();
    paintSprite(painter, element, std::move(key), rect, [&](QPainter& p) {
        // drawText clips to the box itself where the text does not fit; a clip of our own
        // would cost a clip intersection with every paint.
        const QRectF box(QPointF(), rect.size());
        p.setFont(label.font() ? fontFor(element, *label.font()) : painter.font());
        p.setPen(color);
        const int flags = int(alignmentOf(label.alignment()) | Qt::AlignTop | Qt::TextWordWrap);
        const QString caption = QString::fromStdString(label.caption());
        if (!m_captions.draw(p, box, flags, caption))
            p.drawText(box, flags, caption);
    });
}

QFont GaugePainter::fontOrPainters(const QPainter& painter, const Element& element) const {
    return element.font() ? fontFor(element, *element.font()) : painter.font();
}

void GaugePainter::paintField(QPainter& painter, const Element& element, const QRectF& rect) const {
    const auto& field = static_cast<const TextField&>(element);
    painter.fillRect(rect, colorOf(field.backColor()));
    painter.save();
    painter.setPen(QPen(colorOf(SystemButtonShadow), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF inside = rect.adjusted(FieldTextInset, 1, -1, -1);
    painter.setClipRect(inside, Qt::IntersectClip);
    const QFont font = fontOrPainters(painter, field);
    painter.setFont(font);
    // Metrics of the font as the views lay text out, whatever device is painted on.
    const QFontMetricsF metrics(font);
    const QPointF start(inside.left(),
                        inside.top() + (inside.height() - metrics.height()) / 2 + metrics.ascent());
    const std::string& utf8 = field.text();
    const QString text = QString::fromStdString(utf8);
    painter.setPen(colorOf(field.foreColor()));
    painter.drawText(start, text);
    const Selection selection = fieldtext::fieldSelection(field);
    const auto x = [&](int codePoint) {
        return start.x() + metrics.horizontalAdvance(text.left(utf8::utf16Offset(utf8, codePoint)));
    };
    if (field.hasFocus() && selection.anchor != selection.caret) {
        const qreal from = x(std::min(selection.anchor, selection.caret));
        const QRectF band(from, inside.top(), x(std::max(selection.anchor, selection.caret)) - from,
                          inside.height());
        painter.fillRect(band, colorOf(SystemHighlight));
        painter.setClipRect(band, Qt::IntersectClip);
        painter.setPen(colorOf(SystemHighlightText));
        painter.drawText(start, text);
    } else if (field.hasFocus()) {
        // A steady caret: a blinking one would make the same state paint differently.
        painter.fillRect(QRectF(std::round(x(selection.caret)), start.y() - metrics.ascent(), 1,
                                metrics.height()),
                         colorOf(field.foreColor()));
    }
    painter.restore();
}

void GaugePainter::paintButton(QPainter& painter, const Element& element,
                               const QRectF& rect) const {
    const auto& button = static_cast<const CommandButton&>(element);
    painter.fillRect(rect, colorOf(SystemButtonFace));
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colorOf(SystemButtonShadow), 1.0));
    painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    const QColor text = colorOf(SystemButtonText);
    painter.setFont(fontOrPainters(painter, button));
    painter.setPen(text);
    painter.drawText(rect, int(Qt::AlignCenter), QString::fromStdString(button.caption()));
    if (button.hasFocus()) {
        painter.setPen(QPen(text, 1.0, Qt::DotLine));
        painter.drawRect(rect.adjusted(ButtonFocusInset + 0.5, ButtonFocusInset + 0.5,
                                       -ButtonFocusInset - 0.5, -ButtonFocusInset - 0.5));
    }
    painter.restore();
}

void GaugePainter::paintImage(QPainter& painter, const Element& element, const QRectF& rect) const {
    const QImage image = picture(element);
    if (image.isNull())
        return;
    const bool stretch = static_cast<const Image&>(element).stretch();
    SpriteKey key;
    key.content = std::uint64_t(reinterpret_cast<std::uintptr_t>(image.constBits()));
    key.stretch = stretch;
    const QRectF drawn = stretch ? rect : QRectF(rect.topLeft(), QSizeF(image.size()));
    paintSprite(painter, element, std::move(key), drawn, [&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (stretch)
            p.drawImage(QRectF(QPointF(), drawn.size()), image);
        else
            p.drawImage(QPointF(), image);
    });
}

void GaugePainter::paintElement(QPainter& painter, const Element& element, const QRectF& rect,
                                QPointF origin, const QRegion& region) const {
    switch (element.kind()) {
    case ElementKind::Shape: {
        const auto& shape = static_cast<const Shape&>(element);
        if (shape.solidFill())
            painter.fillRect(rect, colorOf(shape.fillColor()));
        // Stroking costs more than filling; a region inside the border needs no stroke.
        const auto outline = outlineOf(rect);
        if (std::none_of(outline.begin(), outline.end(),
                         [&](const QRect& side) { return region.intersects(side); }))
            break;
        painter.setPen(QPen(colorOf(shape.borderColor()), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
        break;
    }
    case ElementKind::Label:
        paintLabel(painter, element, rect);
        break;
    case ElementKind::Image:
        paintImage(painter, element, rect);
        break;
    case ElementKind::Line: {
        const auto& line = static_cast<const Line&>(element);
        // Line points are pixels of the container; a pixel's centre is half a unit in.
        const QPointF centre(0.5, 0.5);
        // Qt's rasteriser draws a line with square caps directly, and a round cap through its
        // general stroker at about three times the cost. At one device pixel per pixel a round
        // cap of one pixel's radius differs from a square one in a few edge pixels; above that,
        // where the stroker runs anyway, the cap is round.
        const Qt::PenCapStyle cap = deviceRatio(painter) > 1.0 ? Qt::RoundCap : Qt::SquareCap;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colorOf(line.borderColor()), LinePenWidth, Qt::SolidLine, cap));
        painter.drawLine(origin + QPointF(line.x1(), line.y1()) + centre,
                         origin + QPointF(line.x2(), line.y2()) + centre);
        painter.restore();
        break;
    }
    case ElementKind::PictureBox: {
        const auto& box = static_cast<const PictureBox&>(element);
        std::vector<QRect> covers;
        const auto parts = partsToPaint(box, rect.topLeft(), region, covers);
        // The box clips its children; where all of them lie inside it, a clip would only cost
        // an intersection with the paint's own clip region.
        const QRect inside = innerPixels(rect);
        const bool clip = std::any_of(parts.begin(), parts.end(), [&](const Part& part) {
            return !inside.contains(part.reach);
        });
        painter.save();
        if (clip)
            painter.setClipRect(rect, Qt::IntersectClip);
        // An opaque face that covers the whole box hides its back colour.
        if (!faceCovers(box, rect))
            painter.fillRect(rect, colorOf(box.backColor()));
        if (const auto face = m_faces.find(&box); face != m_faces.end()) {
            const qreal ratio = deviceRatio(painter);
            const QImage& plain = faceOf(box, face->second);
            const QImage& image = ratio > 1.0 ? sharpFace(box, plain, ratio) : plain;
            if (image.deviceIndependentSize() == rect.size())
                painter.drawImage(rect.topLeft(), image);
            else // without the clip the face is cut to the box by its source rectangle
                painter.drawImage(rect, image,
                                  QRectF(QPointF(), rect.size() * image.devicePixelRatio()));
        }
        paintParts(painter, parts, region);
        painter.restore();
        break;
    }
    case ElementKind::TextField:
        paintField(painter, element, rect);
        break;
    case ElementKind::CommandButton:
        paintButton(painter, element, rect);
        break;
    default:
        // Timers and dialogs show nothing.
        break;
    }
}

} // namespace merv::qt
