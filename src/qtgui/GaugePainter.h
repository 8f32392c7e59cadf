#pragma once

#include "CaptionGlyphs.h"
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Font.h>
#include <mervgauge/platform/PixelRect.h>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTransform>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class QPainter;

namespace merv {
class Element;
class PictureBox;
class Container;
class DialFace;
class ContainerSite;
} // namespace merv

namespace merv::qt {

// Paints a control's element tree as its layout places it, at one pixel per 15 twips: shapes,
// labels, images, lines, picture boxes, text fields and buttons, back to front in each
// container's stacking order. Fields and buttons are drawn from their elements (text,
// selection, caret, focus), so every view shows them alike; the real inputs a view puts over
// them to take a person's keys and clicks draw nothing themselves. Painting reads the tree and the
// painter's own caches and never changes either. Colours become pixels as the site resolves
// them.
class GaugePainter {
public:
    // How far, in control pixels, the face drawn again at device resolution can change pixels
    // beyond those its surface reports changed (an edge moved a pixel, and its antialiasing).
    static constexpr int SharpFaceSpill = 2;
    // Where a field's text starts, in control pixels from its left edge: inside the border,
    // where a real input over it starts its own text, so a click lands on the character seen.
    static constexpr int FieldTextInset = 3;

    GaugePainter(const ElementTree& tree, const ContainerSite& site);

    // Takes the pixels the control reported changed on the surface of the picture box;
    // returns the control pixels whose painting that changes, as a rectangle (for the face,
    // SharpFaceSpill more on each side).
    QRect takeSurface(const PictureBox& box, const PixelRect& dirty);

    // The face whose drawing the picture box's surface shows: above device pixel ratio 1 the
    // painter draws it again at device resolution instead of scaling the surface's pixels.
    void setFace(const PictureBox& box, const DialFace& face);

    // The site resolves system colours differently now: every surface is taken again.
    void systemColorsChanged();

    // Paints the parts of the control that reach into the region (in control pixels), with
    // its top left corner at the painter's origin; what lies outside the region may or may
    // not be painted.
    void paint(QPainter& painter, const QRegion& region) const;

    // Where an element stands, in control pixels (its container's offsets added up).
    QRectF elementRect(const Element& element) const;
    // The pixels a line covers with the pen it is drawn with, in control pixels.
    QRect lineBox(const Element& line) const;

    // The decoded picture of an image element (null when it has none or it does not decode).
    QImage picture(const Element& image) const;

private:
    // What a sprite was drawn from; a sprite whose key differs is drawn again.
    struct SpriteKey {
        std::uint64_t content = 0; // the caption's generation or the picture's address
        QRectF rect;               // where it stands, in control pixels
        QTransform local;          // from the rectangle to the sprite's pixels
        QRgb color = 0;
        std::optional<Font> font;          // the element's own font
        std::optional<QFont> fallbackFont; // the painter's, for an element without one
        bool stretch = false;
        friend bool operator==(const SpriteKey&, const SpriteKey&) = default;
    };
    struct Sprite {
        SpriteKey key;
        QImage image; // premultiplied, one pixel per device pixel
    };
    // Where a rectangle of control pixels lands in the painter's device: the device pixels it
    // covers and the transform from the rectangle's own coordinates into them. Empty when the
    // painter rotates or shears, where sprites do not apply.
    struct Placement {
        QRect pixels;
        QTransform local;
    };
    static std::optional<Placement> placementOf(const QPainter& painter, const QRectF& rect);

    // An element to paint and where it stands.
    struct Part {
        const Element* element;
        QRectF rect;
        QPointF origin; // its container's top left corner
        QRect reach;    // the pixels it can change
    };
    // The children of the container that change pixels of the region, front to back; the
    // opaque ones among them add the pixels they cover to covers.
    std::vector<Part> partsToPaint(const Container& container, QPointF origin,
                                   const QRegion& region, std::vector<QRect>& covers) const;
    void paintParts(QPainter& painter, const std::vector<Part>& parts, const QRegion& region) const;
    // The element's font as a QFont.
    const QFont& fontFor(const Element& element, const Font& font) const;
    // The pixels an element standing in the rectangle can change.
    QRectF reachOf(const Element& element, const QRectF& rect) const;
    // Whether every pixel of the region within reach lies inside one of the covers.
    static bool hiddenBehind(const QRect& reach, const QRegion& region,
                             const std::vector<QRect>& covers);
    // Whether the element paints each pixel of its rectangle opaquely.
    static bool opaque(const Element& element);
    // Whether the box's face image covers the whole box.
    bool faceCovers(const PictureBox& box, const QRectF& rect) const;
    void paintElement(QPainter& painter, const Element& element, const QRectF& rect, QPointF origin,
                      const QRegion& region) const;
    void paintLabel(QPainter& painter, const Element& label, const QRectF& rect) const;
    void paintField(QPainter& painter, const Element& field, const QRectF& rect) const;
    void paintButton(QPainter& painter, const Element& button, const QRectF& rect) const;
    // The element's own font, or the painter's where it has none.
    QFont fontOrPainters(const QPainter& painter, const Element& element) const;
    QColor colorOf(std::uint32_t oleColor) const;
    void paintImage(QPainter& painter, const Element& image, const QRectF& rect) const;
    // Paints what draw paints into the rectangle's own coordinates, through the element's
    // sprite: drawn again only when the key changed, then copied pixel for pixel.
    template <typename Draw>
    void paintSprite(QPainter& painter, const Element& element, SpriteKey key, const QRectF& rect,
                     Draw&& draw) const;

    // The box's face image, taken from its surface if it was not yet.
    const QImage& faceOf(const PictureBox& box, QImage& face) const;
    // The face drawn at the device pixel ratio of the painter's device (cached per ratio).
    const QImage& sharpFace(const PictureBox& box, const QImage& face, qreal ratio) const;

    const ElementTree& m_tree;
    const ContainerSite& m_site;
    const PictureBox* m_faceBox = nullptr;
    const DialFace* m_face = nullptr;
    struct SharpFace {
        qreal ratio = 0;
        QImage image;
    };
    mutable SharpFace m_sharpFace; // emptied whenever the surface changes
    // The face image of each picture box that draws, as last taken from its surface; null
    // until first painted.
    mutable std::map<const PictureBox*, QImage> m_faces;
    // Decoded pictures, by the address of their bytes (the control keeps them for its life).
    mutable std::map<const std::uint8_t*, QImage> m_pictures;
    // Each label's and image's sprite as last drawn.
    mutable std::map<const Element*, Sprite> m_sprites;
    // The glyphs labels draw their captions with, kept per font.
    mutable CaptionGlyphs m_captions;
    // Each label's font as last resolved, with what it was resolved from.
    mutable std::map<const Element*, std::pair<std::optional<Font>, QFont>> m_fonts;
};

} // namespace merv::qt
