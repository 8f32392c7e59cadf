#pragma once

#include "PeerGauge.h"

#include <QPixmap>
#include <QWidget>

// The gauge widget a Qt developer would write by hand: the static dial kept in a pixmap, a
// value write asks for a repaint of the whole widget, and paintEvent draws the cached dial,
// the needle and the value text (PeerGauge's).
class PeerWidget : public QWidget {
public:
    explicit PeerWidget(QWidget* parent = nullptr);

    void setValue(float value);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PeerGauge m_gauge;
    QPixmap m_dial;
    float m_value = 0;
};
