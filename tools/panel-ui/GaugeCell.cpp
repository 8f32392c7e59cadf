#include "GaugeCell.h"

#include "MervGaugeWidget.h"

#include <QPainter>
#include <QVBoxLayout>

namespace merv::panel {
namespace {

constexpr int Margin = 8;      // room around the gauge for the frame and the marker
constexpr int MarkerSize = 12; // diameter of the alarm marker
const QColor BadQualityColor(0x80, 0x80, 0x80);
const QColor MarkerColor(0xd0, 0x10, 0x10);

} // namespace

GaugeCell::GaugeCell(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin + MarkerSize, Margin, Margin);
}

void GaugeCell::setGauge(MervGaugeWidget* gauge) {
    gauge->setParent(this);
    layout()->addWidget(gauge);
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
    update();
}

void GaugeCell::setBlinkOn(bool on) {
    if (on == m_blinkOn)
        return;
    m_blinkOn = on;
    if (m_marker == Marker::Blinking)
        update();
}

void GaugeCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_reason.isEmpty()) {
        painter.setPen(QPen(BadQualityColor, 3, Qt::DashLine));
        painter.drawRect(rect().adjusted(2, 2, -2, -2));
        painter.setPen(BadQualityColor);
        painter.drawText(QRect(Margin + MarkerSize + 4, 0, width(), Margin + MarkerSize),
                         Qt::AlignVCenter, tr("Bad quality"));
    }
    const bool lit = m_marker == Marker::Steady || (m_marker == Marker::Blinking && m_blinkOn);
    if (lit) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(MarkerColor);
        painter.drawEllipse(Margin / 2, Margin / 2, MarkerSize, MarkerSize);
    }
}

} // namespace merv::panel
