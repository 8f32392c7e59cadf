#include "AlarmRowDelegate.h"

#include "panel/AlarmSummaryModel.h"

#include <QApplication>
#include <QPainter>

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
    if (lit)
        painter->fillRect(option.rect, state == AlarmState::ReturnedUnacknowledged ? ReturnedColor
                                                                                   : ActiveColor);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    // One line of text alone; a wrapped text that fits its width is laid out as one line too.
    const bool plain = (opt.features & QStyleOptionViewItem::HasDisplay) &&
                       !(opt.features & (QStyleOptionViewItem::HasCheckIndicator |
                                         QStyleOptionViewItem::HasDecoration)) &&
                       !opt.text.isEmpty() && !opt.text.contains(QLatin1Char('\n')) &&
                       !(opt.state & QStyle::State_HasFocus); // the style frames its text
    if (!plain)
        return QStyledItemDelegate::paint(painter, option, index);
    // Where the style lays the text out: without a decoration or a check, the whole cell less
    // the focus frame's margin (asking the style would lay the text out to learn it).
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
    const Prepared& text = preparedText(opt.text, opt.font, textRect.width(),
                                        QStyle::visualAlignment(opt.direction, opt.displayAlignment));
    if (!text.fits) // elided by the style
        return QStyledItemDelegate::paint(painter, option, index);
    opt.text.clear(); // the style draws the cell's background, selection and focus
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected
                                                 ? QPalette::HighlightedText
                                                 : QPalette::Text));
    // As the style places a laid-out text: at the rectangle's left, aligned in height.
    const QRect placed = QStyle::alignedRect(
        Qt::LayoutDirectionAuto, opt.displayAlignment & Qt::AlignVertical_Mask,
        text.text.size().toSize(), textRect);
    painter->drawStaticText(QPointF(textRect.x(), placed.top()), text.text);
    painter->restore();
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
