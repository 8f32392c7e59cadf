#include "PeerWidget.h"

#include <QPainter>

PeerWidget::PeerWidget(QWidget* parent)
    : QWidget(parent), m_dial(QPixmap::fromImage(m_gauge.dial())) {
    setAttribute(Qt::WA_OpaquePaintEvent); // the dial covers every pixel
    setFixedSize(m_dial.size());
}

void PeerWidget::setValue(float value) {
    if (value == m_value)
        return;
    m_value = value;
    update();
}

QSize PeerWidget::sizeHint() const {
    return m_dial.size();
}

void PeerWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_dial);
    m_gauge.paintNeedleAndValue(painter, m_value);
}
