#include "PeerGauge.h"

#include <QPainter>
#include <QPen>

#include <array>
#include <cmath>

namespace {

// The same image the widget paints into: the control's 170 x 147 pixels.
constexpr QSize GaugeSize(170, 147);
// The dial centre and the zone ring, as the widget's face places them.
constexpr QPointF Centre(84, 94);
constexpr double RingRadius = 73;
constexpr double RingWidth = 8;
constexpr double NeedleRadius = 60;
constexpr double LabelRadius = 56;
constexpr double MinValue = 0;
constexpr double MaxValue = 100;
// The white band under the dial that carries the value text.
constexpr QRect ValueBand(0, 104, 170, 43);
constexpr QRectF ValueTextBox(28, 127, 113, 17);

struct Zone {
    double from;
    double to;
    QColor color;
};
const std::array<Zone, 5> Zones{{{0, 20, Qt::red},
                                 {20, 35, Qt::yellow},
                                 {35, 65, Qt::green},
                                 {65, 80, Qt::yellow},
                                 {80, 100, Qt::red}}};
constexpr std::array<double, 4> Ticks{20, 35, 65, 80};
constexpr std::array<int, 6> LabelValues{0, 20, 40, 60, 80, 100};

// Degrees from the right, counter-clockwise, as QPainter's arcs count them: the scale runs
// from 180 (minimum, left) to 0 (maximum, right).
double angleOf(double value) {
    return 180.0 * (1.0 - (value - MinValue) / (MaxValue - MinValue));
}

} // namespace

PeerGauge::PeerGauge()
    : m_font(QStringLiteral("Arial")), m_dial(GaugeSize, QImage::Format_ARGB32_Premultiplied) {
    // Arial 8.25 pt at 96 dpi, as the widget's labels.
    m_font.setPixelSize(11);
    QPainter painter(&m_dial);
    paintDial(painter);
}

QPointF PeerGauge::dialPoint(double value, double radius) const {
    const double r = angleOf(value) * M_PI / 180.0;
    return Centre + QPointF(radius * std::cos(r), -radius * std::sin(r));
}

void PeerGauge::paintDial(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(), GaugeSize), QColor(0xC0, 0xC0, 0xC0));
    painter.fillRect(ValueBand, Qt::white);

    const QRectF ring(Centre - QPointF(RingRadius, RingRadius),
                      QSizeF(2 * RingRadius, 2 * RingRadius));
    for (const Zone& zone : Zones) {
        painter.setPen(QPen(zone.color, RingWidth, Qt::SolidLine, Qt::FlatCap));
        // Angles in sixteenths of a degree; spans run counter-clockwise, hence negative.
        painter.drawArc(ring, int(angleOf(zone.from) * 16),
                        int((angleOf(zone.to) - angleOf(zone.from)) * 16));
    }
    painter.setPen(QPen(Qt::black, 1.5));
    for (const double tick : Ticks)
        painter.drawLine(dialPoint(tick, RingRadius - RingWidth / 2 - 1),
                         dialPoint(tick, RingRadius + RingWidth / 2 + 1));

    painter.setFont(m_font);
    for (const int value : LabelValues) {
        const QPointF at = dialPoint(value, LabelRadius);
        painter.drawText(QRectF(at - QPointF(15, 7), QSizeF(30, 14)), Qt::AlignCenter,
                         QString::number(value));
    }
}

void PeerGauge::paintNeedleAndValue(QPainter& painter, float value) const {
    painter.setRenderHint(QPainter::Antialiasing);
    // The needle as the widget draws it at one device pixel per pixel.
    painter.setPen(QPen(Qt::blue, 2.0, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(Centre, dialPoint(value, NeedleRadius));
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    painter.drawText(ValueTextBox, Qt::AlignCenter,
                     QString::number(value, 'f', 0) + QStringLiteral(" EU"));
}

void PeerGauge::paintFull(QPainter& painter, float value) const {
    paintDial(painter);
    paintNeedleAndValue(painter, value);
}

void PeerGauge::paintCached(QPainter& painter, float value) const {
    painter.drawImage(0, 0, m_dial);
    paintNeedleAndValue(painter, value);
}
