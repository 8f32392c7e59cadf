#include "GaugeSpeech.h"

#include <mervgauge/control/GaugeEvents.h>
#include <mervgauge/control/MERV_Gauge.h>

#include <QAccessible>
#include <QCoreApplication>

namespace merv::qt {

namespace {

// The translation context of the words both views speak.
constexpr auto Context = "MervGauge";

// The status flag the event raises.
bool isOn(const MERV_Gauge& control, const EventInfo& event) {
    const bool high = event.side == EventSide::High;
    if (event.severity == EventSeverity::Alarm)
        return high ? control.AlarmHighStatus() : control.AlarmLowStatus();
    return high ? control.WarningHighStatus() : control.WarningLowStatus();
}

QString spoken(const EventInfo& event) {
    const bool high = event.side == EventSide::High;
    if (event.severity == EventSeverity::Alarm)
        return high ? QCoreApplication::translate(Context, "high alarm")
                    : QCoreApplication::translate(Context, "low alarm");
    return high ? QCoreApplication::translate(Context, "high warning")
                : QCoreApplication::translate(Context, "low warning");
}

AccessibleEventSink& sink() {
    static AccessibleEventSink current;
    return current;
}

} // namespace

void setAccessibleEventSink(AccessibleEventSink replacement) {
    sink() = std::move(replacement);
}

void sendAccessibleEvent(QAccessibleEvent* event) {
    if (sink())
        sink()(event);
    else
        QAccessible::updateAccessibility(event);
}

bool accessibleEventsHeard() {
    return sink() || QAccessible::isActive();
}

QString spokenName(const MERV_Gauge& gauge) {
    return QString::fromStdString(gauge.VariableName());
}

QString spokenValue(const MERV_Gauge& gauge) {
    return QString::fromStdString(gauge.shownValueCaption());
}

QString spokenState(const MERV_Gauge& control) {
    // A person hears the most urgent of the gauge's states, as the control ranks them.
    for (const EventInfo* event : EventsBySeverity) {
        if (isOn(control, *event))
            return spoken(*event);
    }
    return QCoreApplication::translate(Context, "normal");
}

} // namespace merv::qt
