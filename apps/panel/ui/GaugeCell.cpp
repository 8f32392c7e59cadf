#include "GaugeCell.h"

#include "Contrast.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace merv::panel {
namespace {

constexpr int Margin = 4;         // room around the gauge for the dashed frame
constexpr int MarkerSize = 12;    // diameter of the alarm marker
constexpr int StripGap = 3;       // between the strip's parts, and above and below them
constexpr int BadgePadding = 4;   // around the badge's text, left and right
constexpr int FrameWidth = 2;     // the bad-quality frame's dashed pen
constexpr int HighlightWidth = 3; // the frame of a gauge shown from its alarm
// The marker's red on a light window and on a dark one; the one that stands out more is drawn.
const QColor DarkMarkerRed(0xb0, 0x00, 0x00);
const QColor LightMarkerRed(0xff, 0x70, 0x70);

} // namespace

GaugeCell::GaugeCell(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(frame());
    // As large as the gauge and its frame, whatever room the grid has.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GaugeCell::setGauge(MervGaugeWidget* gauge) {
    m_gauge = gauge;
    gauge->setParent(this);
    layout()->addWidget(gauge);
}

int GaugeCell::stripHeight() const {
    return std::max(MarkerSize, fontMetrics().height()) + 2 * StripGap;
}

QMargins GaugeCell::frame() const {
    return {Margin, stripHeight(), Margin, Margin};
}

QRect GaugeCell::markerRect() const {
    return {Margin, (stripHeight() - MarkerSize) / 2, MarkerSize, MarkerSize};
}

QRect GaugeCell::badgeRect() const {
    const int left = Margin + MarkerSize + StripGap;
    const int width = fontMetrics().horizontalAdvance(tr("Bad quality")) + 2 * BadgePadding;
    return {left, StripGap, std::min(width, this->width() - left - Margin),
            stripHeight() - 2 * StripGap};
}

QColor GaugeCell::markerColor() const {
    const QColor window = palette().color(QPalette::Window);
    return contrastRatio(DarkMarkerRed, window) >= contrastRatio(LightMarkerRed, window)
               ? DarkMarkerRed
               : LightMarkerRed;
}

QColor GaugeCell::badgeColor() const {
    // The window's text colour reads against the window as well as its text does.
    return palette().color(QPalette::WindowText);
}

QColor GaugeCell::badgeTextColor() const {
    return palette().color(QPalette::Window);
}

void GaugeCell::setQuality(const QString& reason) {
    if (reason == m_reason)
        return;
    m_reason = reason;
    setToolTip(reason);
    update();
}

void GaugeCell::setMarker(Marker marker) {
    if (marker == m_marker)
        return;
    m_marker = marker;
    update(markerRect());
}

void GaugeCell::setBlinkOn(bool on) {
    if (on == m_blinkOn)
        return;
    m_blinkOn = on;
    if (m_marker == Marker::Blinking)
        update(markerRect());
}

void GaugeCell::setHighlighted(bool on) {
    if (on == m_highlighted)
        return;
    m_highlighted = on;
    update();
}

void GaugeCell::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The strip is as tall as the font's line.
    if (event->type() == QEvent::FontChange)
        layout()->setContentsMargins(frame());
}

void GaugeCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_reason.isEmpty()) {
        const qreal inset = FrameWidth / 2.0;
        painter.setPen(QPen(badgeColor(), FrameWidth, Qt::DashLine));
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
        const QRect badge = badgeRect();
        painter.setPen(Qt::NoPen);
        painter.setBrush(badgeColor());
        painter.drawRoundedRect(badge, BadgePadding, BadgePadding);
        painter.setPen(badgeTextColor());
        painter.drawText(badge, Qt::AlignCenter,
                         fontMetrics().elidedText(tr("Bad quality"), Qt::ElideRight,
                                                  badge.width() - 2 * BadgePadding));
    }
    if (m_highlighted) {
        const qreal inset = HighlightWidth / 2.0;
        painter.setPen(QPen(palette().color(QPalette::Highlight), HighlightWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    }
    const bool lit = m_marker == Marker::Steady || (m_marker == Marker::Blinking && m_blinkOn);
    if (lit) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(markerColor());
        painter.drawEllipse(markerRect());
    }
}

} // namespace merv::panel
