#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace merv::panel {

// The one time zone the panel shows times in and reads them from, in the summary, the history
// and its pickers alike: the system's local zone unless UTC is chosen. The history stores and
// exports UTC whichever is shown.
class DisplayZone {
public:
    static DisplayZone local() { return DisplayZone(false); }
    static DisplayZone utc() { return DisplayZone(true); }

    bool isUtc() const noexcept { return m_utc; }
    // The zone's name for headers and labels: "UTC", or the system zone's ("America/New_York").
    QString name() const;
    // An instant as the panel writes it: "2026-12-09 19:46:00.123".
    QString text(std::int64_t timeMs) const;
    // An instant as a date and time of the zone, for a picker.
    QDateTime dateTime(std::int64_t timeMs) const;
    // What a picker's date and time are read in.
    Qt::TimeSpec timeSpec() const noexcept { return m_utc ? Qt::UTC : Qt::LocalTime; }

    bool operator==(const DisplayZone&) const = default;

private:
    explicit DisplayZone(bool utc) : m_utc(utc) {}
    bool m_utc;
};

} // namespace merv::panel
