#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace merv {

// One event of the gauge's event interface.
struct EventInfo {
    std::string_view name;
    int dispid;
};

// The four events in DISPID order: the value update raises them, hosts offer handlers for them
// by name. Everything that names an event reads it from here.
inline constexpr std::array<EventInfo, 4> GaugeEvents{{
    {"OnAlarmHigh", 1},
    {"OnAlarmLow", 2},
    {"OnWarningHigh", 3},
    {"OnWarningLow", 4},
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

// By exact name, as hosts name handlers; null when there is none.
constexpr const EventInfo* findEvent(std::string_view name) {
    for (const EventInfo& event : GaugeEvents) {
        if (event.name == name)
            return &event;
    }
    return nullptr;
}

} // namespace merv
