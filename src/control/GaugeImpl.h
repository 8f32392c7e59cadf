#pragma once

// The control's own helpers, tables and caches: seen by the sources in control/ only, so that
// MERV_Gauge.h shows the control's surface and nothing of how it keeps it.
#include <mervgauge/control/GaugeEvents.h>
#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/NumberMemo.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace merv {

struct MERV_Gauge::Impl {
    // Parsed forms of the texts every value update reads, so a pass parses each text once.
    struct TextNumbers {
        NumberMemo value, precision, minimum, maximum;
        NumberMemo alarmHigh, alarmLow, warningHigh, warningLow;
    };
    TextNumbers numbers;
    std::uint64_t snapshotGeneration = 1; // changes whenever the snapshots are taken
    // One bit per event DISPID whose host handler is running: that event is not raised again
    // until the handler returns.
    unsigned eventsRaising = 0;
    // The status flags as the site was last told of them (AlarmHigh, AlarmLow, WarningHigh,
    // WarningLow), and the notice itself: the site hears each flag that differs.
    std::array<bool, 4> statusTold{};
    static void tellStatus(MERV_Gauge& gauge);

    // Reading a colour applies it to its elements and redraws the face; writing one is refused
    // outside design mode, then stores, notifies, applies and redraws. The alarm and warning
    // colours redraw before they apply, the others after.
    struct ColorProperty {
        std::string_view name;
        std::uint32_t MERV_Gauge::*field;
        void (*apply)(MERV_Gauge&); // null where no element shows the colour
        bool redrawBeforeApplying;
    };
    static const ColorProperty AlarmColor, WarningColor, NormalColor, BordersColor, TextColor,
        BackColorGraphic, BackColorText;
    static const std::array<const ColorProperty*, 7> Colors;
    static std::uint32_t readColor(MERV_Gauge& gauge, const ColorProperty& color);
    static void writeColor(MERV_Gauge& gauge, const ColorProperty& color, std::uint32_t value);

    // A threshold is stored as the text of its editor field; a write reaches the alarm
    // evaluation only with the next face redraw, which it schedules.
    struct ThresholdProperty {
        std::string_view name;
        TextField& (*field)(const GaugeElements&);
    };
    static const ThresholdProperty AlarmHighVal, AlarmLowVal, WarningHighVal, WarningLowVal;
    static float readThreshold(const MERV_Gauge& gauge, const ThresholdProperty& threshold);
    static void writeThreshold(MERV_Gauge& gauge, const ThresholdProperty& threshold, float value);

    // Numbers as element texts, in the user's locale.
    static float singleOf(const MERV_Gauge& gauge, const std::string& text);
    static std::string textOf(const MERV_Gauge& gauge, float value);
    // The value display's caption for a value text: the text at the precision, then the unit.
    static std::string caption(const MERV_Gauge& gauge, const std::string& valueText);

    // Raises the event to the host, unless its handler is running already.
    static void raise(MERV_Gauge& gauge, const EventInfo& event);
};

} // namespace merv
