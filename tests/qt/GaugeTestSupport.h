#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <cmath>

class MervGaugeWidget;
class QLineEdit;
class QPushButton;

// Places on the gauge, in widget pixels of a gauge at its own size.
namespace gauge {

// The dial face's top left corner in the control, and the dial centre in the face.
inline constexpr int FaceLeft = 1;
inline constexpr int FaceTop = 16;
inline constexpr double CentreX = 83;
inline constexpr double CentreY = 78;

// A point of the dial at an angle (0 right, 90 up) and a radius, in control pixels.
inline QPoint dialPoint(double degrees, double radius) {
    const double r = degrees * 3.14159265 / 180;
    return {FaceLeft + int(std::lround(CentreX + radius * std::cos(r))),
            FaceTop + int(std::lround(CentreY - radius * std::sin(r)))};
}

// The middle of the zone ring (between radii 69 and 77).
inline constexpr double RingRadius = 73;

// Colour values 0x00BBGGRR as Qt colours.
inline QColor ole(unsigned value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// Whether two colours differ by at most the tolerance in every channel.
bool near(QColor a, QColor b, int tolerance = 8);

// Shows the widget and waits until its window is exposed and active.
void showAndActivate(MervGaugeWidget& widget);

// The widget's pixels as it paints them now.
QImage grabbed(MervGaugeWidget& widget);
// The widget rendered on white into an image of the device pixel ratio, as the renderer does.
QImage renderedAt(MervGaugeWidget& widget, qreal ratio);

// Pixels in the rectangle whose colour is far from the background colour.
int pixelsUnlike(const QImage& image, const QRect& rect, QColor background);

QLineEdit* field(MervGaugeWidget& widget, const char* name);
QPushButton* okButton(MervGaugeWidget& widget);

} // namespace gauge
