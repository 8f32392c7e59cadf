#pragma once

#include <QCache>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace merv::panel {

// Draws the alarm summary's rows in the usual colours: unacknowledged rows blink, acknowledged
// active ones stay lit. A flood repaints thousands of cells a second, most of whose texts
// (names, kinds, states, stations) repeat: a text that fits its cell is drawn from a prepared
// static text, laid out once, where the style would lay it out and shape it at every paint.
// A cell on a plain background is kept whole, background and text, so that rows moved by
// an alarm inserted above them are copied, not drawn again.
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

    // Where the style would start a laid-out text in its rectangle.
    static QPointF textOrigin(const QStyleOptionViewItem& opt, const QRect& textRect,
                              const QStaticText& text);
    // The pixels of a plain cell (background, text), by what they were drawn from; null where
    // the cell's place on the painter's device is not whole device pixels.
    const QPixmap* cellPixels(QPainter& painter, const QStyleOptionViewItem& opt,
                              const QColor& background, const QColor& pen, const QRect& textRect,
                              Qt::Alignment alignment) const;

    bool m_blinkOn = true;
    mutable QFont m_preparedFont;
    // By text, width and horizontal alignment, for m_preparedFont.
    mutable QHash<QString, Prepared> m_prepared;
    // The most pixels of cells kept, in kilobytes: a tall summary's cells in both phases of
    // the blink several times over.
    static constexpr qsizetype MostCellKilobytes = 16 * 1024;
    // The cells last drawn, by what they were drawn from, least recently used dropped first;
    // each costs its kilobytes.
    mutable QCache<QString, QPixmap> m_cells{MostCellKilobytes};
};

} // namespace merv::panel
