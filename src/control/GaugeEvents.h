#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace merv {

// How urgent an event is: an alarm outranks a warning. The values are ranks, the most urgent
// lowest, so that a sort by rank puts the worst first.
enum class EventSeverity { Alarm = 1, Warning = 2 };
// Which threshold an event crossed: above the high one or below the low one.
enum class EventSide { High, Low };

// One event of the gauge's event interface.
struct EventInfo {
    std::string_view name;
    int dispid;
    EventSeverity severity;
    EventSide side;
};

// The four events in DISPID order: the value update raises them, hosts offer handlers for them
// by name. Everything that names an event reads it from here.
inline constexpr std::array<EventInfo, 4> GaugeEvents{{
    {"OnAlarmHigh", 1, EventSeverity::Alarm, EventSide::High},
    {"OnAlarmLow", 2, EventSeverity::Alarm, EventSide::Low},
    {"OnWarningHigh", 3, EventSeverity::Warning, EventSide::High},
    {"OnWarningLow", 4, EventSeverity::Warning, EventSide::Low},
}};

// The rows by name, for the code that raises them.
namespace GaugeEvent {
inline constexpr const EventInfo& OnAlarmHigh = GaugeEvents[0];
inline constexpr const EventInfo& OnAlarmLow = GaugeEvents[1];
inline constexpr const EventInfo& OnWarningHigh = GaugeEvents[2];
inline constexpr const EventInfo& OnWarningLow = GaugeEvents[3];
} // namespace GaugeEvent

// The DISPIDs run from 1 in table order.
static_assert([] {
    for (std::size_t i = 0; i < GaugeEvents.size(); ++i) {
        if (GaugeEvents[i].dispid != static_cast<int>(i) + 1)
            return false;
    }
    return true;
}());

// Each severity and side has exactly one event.
static_assert([] {
    for (const EventInfo& a : GaugeEvents) {
        for (const EventInfo& b : GaugeEvents) {
            if (&a != &b && a.severity == b.severity && a.side == b.side)
                return false;
        }
    }
    return true;
}());

constexpr int severityRank(EventSeverity severity) {
    return static_cast<int>(severity);
}

// The events most urgent first, in table order among equals: the order in which whoever shows
// a gauge's state (a screen reader, an alarm summary) names its events.
inline constexpr std::array<const EventInfo*, GaugeEvents.size()> EventsBySeverity = [] {
    std::array<const EventInfo*, GaugeEvents.size()> out{};
    std::size_t next = 0;
    for (EventSeverity severity : {EventSeverity::Alarm, EventSeverity::Warning}) {
        for (const EventInfo& event : GaugeEvents) {
            if (event.severity == severity)
                out[next++] = &event;
        }
    }
    return out;
}();
// Every event has a severity that the order above lists. (Counted rather than tested for null:
// pointer comparisons are not constant expressions under the sanitizers.)
static_assert([] {
    std::size_t listed = 0;
    for (EventSeverity severity : {EventSeverity::Alarm, EventSeverity::Warning}) {
        for (const EventInfo& event : GaugeEvents)
            listed += event.severity == severity ? 1 : 0;
    }
    return listed == GaugeEvents.size();
}());

// By exact name, as hosts name handlers; null when there is none.
constexpr const EventInfo* findEvent(std::string_view name) {
    for (const EventInfo& event : GaugeEvents) {
        if (event.name == name)
            return &event;
    }
    return nullptr;
}

} // namespace merv
