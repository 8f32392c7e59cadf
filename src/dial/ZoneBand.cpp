#include "dial/ZoneBand.h"

#include "dial/DialGeometry.h"
#include "platform/Surface.h"

namespace merv::dial {

namespace {
// Pen widths: zone bands are outlined 2 pixels wide, ticks 1.
constexpr int BandDrawWidth = 2;
constexpr int TickDrawWidth = 1;
constexpr int SolidFill = 0;
constexpr std::uint32_t TickColor = 0x000000u;
// Ticks stand at 20, 40, 60 and 80 percent of the span.
constexpr std::int16_t FirstTick = 36, LastTick = 144, TickStep = 36;
} // namespace

bool DrawZoneBand(Surface& surface, const ZoneBand& band) {
    surface.setDrawWidth(BandDrawWidth);
    surface.setFillStyle(SolidFill);
    const BandEnds ends = computeBandEnds(band.p, band.q);
    surface.setForeColor(band.color);
    surface.setFillColor(band.color);
    const auto cx = static_cast<float>(CentreX);
    const auto cy = static_cast<float>(CentreY);
    surface.circle(cx, cy, static_cast<float>(BandOuterRadius), band.color, band.arcStartRadians,
                   band.arcEndRadians);
    surface.circle(cx, cy, static_cast<float>(BandInnerRadius), band.color, band.arcStartRadians,
                   band.arcEndRadians);
    const float lift = band.raiseStartEdge ? 1.0f : 0.0f;
    surface.line(ends.startOuter.x, ends.startOuter.y - lift, ends.startInner.x,
                 ends.startInner.y - lift);
    surface.line(ends.endOuter.x, ends.endOuter.y, ends.endInner.x, ends.endInner.y);
    const Point seed = computeBandSeed(band.p, band.q);
    return surface.floodFill(roundHalfEven(seed.x), roundHalfEven(seed.y), surface.foreColor());
}

void drawScaleTicks(Surface& surface) {
    surface.setDrawWidth(TickDrawWidth);
    for (std::int16_t a = FirstTick; a <= LastTick; a += TickStep) {
        const Point outer = pointAt(a, TickOuterRadius);
        const Point inner = pointAt(a, TickInnerRadius);
        surface.line(outer.x, outer.y, inner.x, inner.y, TickColor);
    }
}

} // namespace merv::dial
