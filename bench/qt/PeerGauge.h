#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

class QPainter;

// A plain QPainter gauge of the same size and elements as the widget's face, written the way
// an application would paint a dial by hand: the yardstick the widget's repaint is held to.
class PeerGauge {
public:
    PeerGauge();

    // Everything, every frame: background, five ring arcs, four ticks, six labels, the needle
    // and the value text, all antialiased.
    void paintFull(QPainter& painter, float value) const;
    // The static dial from the cache, then only the needle and the value text.
    void paintCached(QPainter& painter, float value) const;
    // The needle and the value text alone, over a dial painted before.
    void paintNeedleAndValue(QPainter& painter, float value) const;
    // The static dial, as the cache holds it.
    const QImage& dial() const { return m_dial; }

private:
    void paintDial(QPainter& painter) const;
    QPointF dialPoint(double value, double radius) const;

    QFont m_font;
    QImage m_dial; // the static dial, drawn once
};
