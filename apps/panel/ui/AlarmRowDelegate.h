#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace merv::panel {

// Draws the alarm summary's rows in the usual colours: unacknowledged rows blink, acknowledged
// active ones stay lit. A flood repaints thousands of cells a second, most of whose texts
// (names, kinds, states, stations) repeat: a text that fits its cell is drawn from a prepared
// static text, laid out once, where the style would lay it out and shape it at every paint.
class AlarmRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The blink phase, switched by the window's timer.
    void setBlinkOn(bool on) { m_blinkOn = on; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    struct Prepared {
        QStaticText text; // laid out over its cell's width, aligned as the cell's
        bool fits;        // whether it fits in the width, or the style must elide it
    };
    // The text prepared for the font, the width and the alignment.
    const Prepared& preparedText(const QString& text, const QFont& font, int width,
                                 Qt::Alignment alignment) const;

    bool m_blinkOn = true;
    mutable QFont m_preparedFont;
    // By text, width and horizontal alignment, for m_preparedFont.
    mutable QHash<QString, Prepared> m_prepared;
};

} // namespace merv::panel
