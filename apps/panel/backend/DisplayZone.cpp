#include "panel/DisplayZone.h"

#include <QCoreApplication>
#include <QTimeZone>

namespace merv::panel {
namespace {

constexpr auto TimeFormat = "yyyy-MM-dd HH:mm:ss.zzz"; // to the millisecond the history keeps

} // namespace

QString DisplayZone::name() const {
    if (m_utc)
        return QStringLiteral("UTC");
    const QByteArray id = QTimeZone::systemTimeZoneId();
    return id.isEmpty() ? QCoreApplication::translate("merv::panel::DisplayZone", "local time")
                        : QString::fromLatin1(id);
}

QString DisplayZone::text(std::int64_t timeMs) const {
    return dateTime(timeMs).toString(QLatin1String(TimeFormat));
}

QDateTime DisplayZone::dateTime(std::int64_t timeMs) const {
    return QDateTime::fromMSecsSinceEpoch(timeMs, timeSpec());
}

} // namespace merv::panel
