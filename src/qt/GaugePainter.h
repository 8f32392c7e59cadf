#pragma once

#include "platform/ElementTree.h"
#include "platform/PixelRect.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <map>

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
// labels, images, lines and picture boxes, back to front in each container's stacking order.
// Text fields and buttons are left to real widgets over it. Painting reads the tree and the
// painter's own caches and never changes either. Colours become pixels as the site resolves
// them.
class GaugePainter {
public:
    GaugePainter(const ElementTree& tree, const ContainerSite& site);

    // Takes the pixels the control reported changed on the surface of the picture box;
    // returns them as a rectangle in control pixels.
    QRect takeSurface(const PictureBox& box, const PixelRect& dirty);

    // The face whose drawing the picture box's surface shows: above device pixel ratio 1 the
    // painter draws it again at device resolution instead of scaling the surface's pixels.
    void setFace(const PictureBox& box, const DialFace& face);

    // The site resolves system colours differently now: every surface is taken again.
    void systemColorsChanged();

    // Paints the control with its top left corner at the painter's origin.
    void paint(QPainter& painter) const;

    // Where an element stands, in control pixels (its container's offsets added up).
    QRectF elementRect(const Element& element) const;
    // The pixels a line covers with the pen it is drawn with, in control pixels.
    QRect lineBox(const Element& line) const;

    // The decoded picture of an image element (null when it has none or it does not decode).
    QImage picture(const Element& image) const;

private:
    void paintContainer(QPainter& painter, const Container& container, QPointF origin) const;
    void paintElement(QPainter& painter, const Element& element, const QRectF& rect,
                      QPointF origin) const;
    QColor colorOf(std::uint32_t oleColor) const;

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
    // The face image of each picture box that draws, as last taken from its surface.
    std::map<const PictureBox*, QImage> m_faces;
    // Decoded pictures, by the address of their bytes (the control keeps them for its life).
    mutable std::map<const std::uint8_t*, QImage> m_pictures;
};

} // namespace merv::qt
