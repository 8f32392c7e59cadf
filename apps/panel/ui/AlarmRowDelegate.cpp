#include "AlarmRowDelegate.h"

#include "panel/AlarmSummaryModel.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace merv::panel {
namespace {

const QColor ActiveColor(0xff, 0xb0, 0xb0);   // an active alarm's row
const QColor ReturnedColor(0xff, 0xe8, 0xa0); // a returned, unacknowledged alarm's row

// Prepared texts kept at most: a summary's names, kinds and states, with room for the changing
// times and values, which are dropped with the rest once there are more.
constexpr qsizetype MostPreparedTexts = 4096;

} // namespace

void AlarmRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const auto state = AlarmState(index.data(AlarmSummaryModel::StateRole).toInt());
    const bool lit = state == AlarmState::ActiveAcknowledged || m_blinkOn;
    const QColor litColor =
        state == AlarmState::ReturnedUnacknowledged ? ReturnedColor : ActiveColor;
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    // One line of text alone; a wrapped text that fits its width is laid out as one line too.
    const bool plain = (opt.features & QStyleOptionViewItem::HasDisplay) &&
                       !(opt.features & (QStyleOptionViewItem::HasCheckIndicator |
                                         QStyleOptionViewItem::HasDecoration)) &&
                       !opt.text.isEmpty() && !opt.text.contains(QLatin1Char('\n')) &&
                       !(opt.state & QStyle::State_HasFocus); // the style frames its text
    if (!plain) {
        if (lit)
            painter->fillRect(option.rect, litColor);
        return QStyledItemDelegate::paint(painter, option, index);
    }
    // Where the style lays the text out: without a decoration or a check, the whole cell less
    // the focus frame's margin (asking the style would lay the text out to learn it).
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
    const Qt::Alignment alignment = QStyle::visualAlignment(opt.direction, opt.displayAlignment);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    // Unselected, unhovered and without a brush of its own, a cell shows only its text over
    // the lit colour or the view's base: the style draws nothing more.
    const bool onPlainBackground =
        !(opt.state & (QStyle::State_Selected | QStyle::State_MouseOver)) &&
        opt.backgroundBrush.style() == Qt::NoBrush &&
        !(opt.features & QStyleOptionViewItem::Alternate) &&
        (lit || opt.palette.brush(group, QPalette::Base).style() == Qt::SolidPattern);
    if (onPlainBackground) {
        const QColor background = lit ? litColor : opt.palette.color(group, QPalette::Base);
        if (const QPixmap* cell =
                cellPixels(*painter, opt, background, opt.palette.color(group, QPalette::Text),
                           textRect, alignment)) {
            painter->drawPixmap(opt.rect.topLeft(), *cell);
            return;
        }
    }
    if (lit)
        painter->fillRect(option.rect, litColor);
    const Prepared& text = preparedText(opt.text, opt.font, textRect.width(), alignment);
    if (!text.fits) // elided by the style
        return QStyledItemDelegate::paint(painter, option, index);
    opt.text.clear(); // the style draws the cell's background, selection and focus
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawStaticText(textOrigin(opt, textRect, text.text), text.text);
    painter->restore();
}

QPointF AlarmRowDelegate::textOrigin(const QStyleOptionViewItem& opt, const QRect& textRect,
                                     const QStaticText& text) {
    // As the style places a laid-out text: at the rectangle's left, aligned in height.
    const QRect placed =
        QStyle::alignedRect(Qt::LayoutDirectionAuto, opt.displayAlignment & Qt::AlignVertical_Mask,
                            text.size().toSize(), textRect);
    return QPointF(textRect.x(), placed.top());
}

const QPixmap* AlarmRowDelegate::cellPixels(QPainter& painter, const QStyleOptionViewItem& opt,
                                            const QColor& background, const QColor& pen,
                                            const QRect& textRect, Qt::Alignment alignment) const {
    // Kept pixels are copied one to one: the cell must lie on whole device pixels.
    const QTransform device = painter.deviceTransform();
    const qreal ratio = device.m11();
    const QPointF at = device.map(QPointF(opt.rect.topLeft()));
    const QSizeF size = QSizeF(opt.rect.size()) * ratio;
    if (device.type() > QTransform::TxScale || device.m22() != ratio ||
        at != QPointF(at.toPoint()) || size != QSizeF(size.toSize()))
        return nullptr;
    if (opt.font != m_preparedFont)
        m_cells.clear();
    const QString key =
        QString::number(opt.rect.width()) + QLatin1Char(' ') + QString::number(opt.rect.height()) +
        QLatin1Char(' ') + QString::number(textRect.width()) + QLatin1Char(' ') +
        QString::number(int(alignment | opt.displayAlignment)) + QLatin1Char(' ') +
        QString::number(background.rgba()) + QLatin1Char(' ') + QString::number(pen.rgba()) +
        QLatin1Char(' ') + QString::number(ratio) + QLatin1Char(' ') + opt.text;
    if (const QPixmap* kept = m_cells.object(key))
        return kept;
    const Prepared& text = preparedText(opt.text, opt.font, textRect.width(), alignment);
    if (!text.fits)
        return nullptr;
    auto pixels = std::make_unique<QPixmap>(size.toSize());
    pixels->setDevicePixelRatio(ratio);
    pixels->fill(background);
    QPainter p(pixels.get());
    p.setFont(opt.font);
    p.setPen(pen);
    p.drawStaticText(textOrigin(opt, textRect, text.text) - QPointF(opt.rect.topLeft()), text.text);
    p.end();
    const qsizetype kilobytes =
        std::max<qsizetype>(1, qsizetype(size.width() * size.height()) * 4 / 1024);
    QPixmap* kept = pixels.release();
    // The cache deletes what it cannot take.
    return m_cells.insert(key, kept, kilobytes) ? kept : nullptr;
}

const AlarmRowDelegate::Prepared& AlarmRowDelegate::preparedText(const QString& text,
                                                                 const QFont& font, int width,
                                                                 Qt::Alignment alignment) const {
    if (font != m_preparedFont || m_prepared.size() >= MostPreparedTexts) {
        m_prepared.clear();
        m_preparedFont = font;
    }
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    const QString key = QString::number(width) + QLatin1Char(' ') +
                        QString::number(int(horizontal)) + QLatin1Char(' ') + text;
    auto found = m_prepared.find(key);
    if (found == m_prepared.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        QTextOption option(horizontal);
        option.setWrapMode(QTextOption::ManualWrap);
        laidOut.setTextOption(option);
        laidOut.setTextWidth(width);
        laidOut.prepare(QTransform(), font);
        const bool fits = QFontMetricsF(font).horizontalAdvance(text) <= width;
        found = m_prepared.insert(key, Prepared{laidOut, fits});
    }
    return *found;
}

} // namespace merv::panel
