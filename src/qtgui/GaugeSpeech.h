#pragma once

#include <QString>

#include <functional>

class QAccessibleEvent;

namespace merv {
class MERV_Gauge;
}

// What a gauge tells screen readers, as it stands now, in either Qt view: its name is the
// measured variable, its value the text it shows (value and unit), its state the most urgent
// alarm or warning in words.
namespace merv::qt {

QString spokenName(const MERV_Gauge& gauge);
QString spokenValue(const MERV_Gauge& gauge);
QString spokenState(const MERV_Gauge& gauge);

// Where a view library's gauges send their accessibility events: QAccessible's own update
// unless replaced (an empty sink restores it). Events are seen nowhere else while no screen
// reader is active, so tests look at them here.
using AccessibleEventSink = std::function<void(QAccessibleEvent*)>;
void setAccessibleEventSink(AccessibleEventSink sink);
void sendAccessibleEvent(QAccessibleEvent* event);
// Whether an event sent now reaches anybody: a sink, or an active screen reader.
bool accessibleEventsHeard();

} // namespace merv::qt
