#pragma once

#include <mervgauge/control/GaugeEvents.h>

#include <array>
#include <optional>
#include <string_view>

// The words the panel's alarms are told in. Inside the panel they are enums; their names below
// are what the history file, the CSV export and the shared acknowledgements carry, and must
// stay as they are for old files and other stations to keep reading them.
namespace merv::panel {

// The kind of an alarm: one of the gauge's events, numbered by its DISPID.
enum class AlarmKind {
    AlarmHigh = GaugeEvent::OnAlarmHigh.dispid,
    AlarmLow = GaugeEvent::OnAlarmLow.dispid,
    WarningHigh = GaugeEvent::OnWarningHigh.dispid,
    WarningLow = GaugeEvent::OnWarningLow.dispid,
};

// Every kind, in the control's event table order.
inline constexpr std::array<AlarmKind, GaugeEvents.size()> AlarmKinds = [] {
    std::array<AlarmKind, GaugeEvents.size()> out{};
    for (std::size_t i = 0; i < GaugeEvents.size(); ++i)
        out[i] = AlarmKind(GaugeEvents[i].dispid);
    return out;
}();

// The control's event of a kind.
constexpr const EventInfo& eventOf(AlarmKind kind) {
    return GaugeEvents[std::size_t(kind) - 1];
}
// The event's name, as the control and the stored formats spell it: OnAlarmHigh, ...
constexpr std::string_view nameOf(AlarmKind kind) {
    return eventOf(kind).name;
}
// Nothing when name is not one of the control's events.
constexpr std::optional<AlarmKind> alarmKindNamed(std::string_view name) {
    if (const EventInfo* event = findEvent(name))
        return AlarmKind(event->dispid);
    return std::nullopt;
}

// What happened to an alarm.
enum class Transition { Raised, Acknowledged, Returned };
inline constexpr std::array<Transition, 3> Transitions{Transition::Raised, Transition::Acknowledged,
                                                       Transition::Returned};
constexpr std::string_view nameOf(Transition transition) {
    switch (transition) {
    case Transition::Raised:
        return "raised";
    case Transition::Acknowledged:
        return "acknowledged";
    case Transition::Returned:
        return "returned";
    }
    return {};
}
constexpr std::optional<Transition> transitionNamed(std::string_view name) {
    for (Transition transition : Transitions) {
        if (nameOf(transition) == name)
            return transition;
    }
    return std::nullopt;
}

// How soon an operator must act on an alarm: its event's severity, alarms high and warnings
// low. The values are the ranks the summary sorts by, the most urgent lowest.
enum class AlarmPriority {
    High = severityRank(EventSeverity::Alarm),
    Low = severityRank(EventSeverity::Warning),
};
constexpr AlarmPriority priorityOf(AlarmKind kind) {
    return eventOf(kind).severity == EventSeverity::Alarm ? AlarmPriority::High
                                                          : AlarmPriority::Low;
}

// The kinds and the table agree: each kind names its own event.
static_assert([] {
    for (const EventInfo& event : GaugeEvents) {
        if (&eventOf(AlarmKind(event.dispid)) != &event)
            return false;
    }
    return true;
}());

} // namespace merv::panel
