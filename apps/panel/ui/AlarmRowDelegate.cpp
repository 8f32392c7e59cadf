#include "AlarmRowDelegate.h"

#include "panel/AlarmSummaryModel.h"

#include <QPainter>

namespace merv::panel {
namespace {

const QColor ActiveColor(0xff, 0xb0, 0xb0);   // an active alarm's row
const QColor ReturnedColor(0xff, 0xe8, 0xa0); // a returned, unacknowledged alarm's row

} // namespace

void AlarmRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const auto state = AlarmState(index.data(AlarmSummaryModel::StateRole).toInt());
    const bool lit = state == AlarmState::ActiveAcknowledged || m_blinkOn;
    if (lit)
        painter->fillRect(option.rect, state == AlarmState::ReturnedUnacknowledged ? ReturnedColor
                                                                                   : ActiveColor);
    QStyledItemDelegate::paint(painter, option, index);
}

} // namespace merv::panel
