#pragma once

#include <QStyledItemDelegate>

namespace merv::panel {

// Draws the alarm summary's rows in the usual colours: unacknowledged rows blink, acknowledged
// active ones stay lit.
class AlarmRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The blink phase, switched by the window's timer.
    void setBlinkOn(bool on) { m_blinkOn = on; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    bool m_blinkOn = true;
};

} // namespace merv::panel
