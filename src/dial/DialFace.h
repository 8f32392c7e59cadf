#pragma once

#include "editor/SurfaceLayout.h"
#include "platform/NumberLocale.h"

#include <cstdint>

namespace merv {

// The colours of the zone bands: the alarm colour serves both alarm bands, the warning colour
// both warning bands.
struct ZoneColors {
    std::uint32_t alarm = 0;
    std::uint32_t warning = 0;
    std::uint32_t normal = 0;
};

// Draws the dial face on Sfondo: clears it, clamps the four thresholds into the scale,
// draws the zone bands and ticks, writes the intermediate scale labels and presents the
// surface. Every input is read from the elements at the moment a step needs it.
class DialFace {
public:
    explicit DialFace(const GaugeElements& ui) : m_ui(ui) {}

    // Throws RuntimeError at the first failing step; what was done before stays done.
    void draw(const ZoneColors& colors, const NumberLocale& locale);

    // The threshold angles and the arc angles of the last draw, kept between draws.
    float m_WarningHighAngle = 0, m_WarningLowAngle = 0, m_AlarmHighAngle = 0, m_AlarmLowAngle = 0;
    float m_WarningHighArc = 0, m_WarningLowArc = 0, m_AlarmHighArc = 0, m_AlarmLowArc = 0;

private:
    void clampThresholds(const NumberLocale& locale);
    void computeAngles(const NumberLocale& locale);
    void adjustArcs(const NumberLocale& locale);
    void drawBands(const ZoneColors& colors);
    void drawTicks();
    void writeScaleLabels(const NumberLocale& locale);

    const GaugeElements& m_ui;
};

} // namespace merv
