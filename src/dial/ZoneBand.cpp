#include <mervgauge/dial/ZoneBand.h>

#include <mervgauge/dial/DialGeometry.h>
#include <mervgauge/platform/Surface.h>

#include <algorithm>
#include <cmath>

namespace merv::dial {

namespace {
// Pen widths: zone bands are outlined 2 pixels wide, ticks 1.
constexpr int BandDrawWidth = 2;
constexpr int TickDrawWidth = 1;
constexpr int SolidFill = 0;
constexpr std::uint32_t TickColor = 0x000000u;
// Ticks stand at 20, 40, 60 and 80 percent of the span.
constexpr std::int16_t FirstTick = 36, LastTick = 144, TickStep = 36;

// A face coordinate on a surface of the given scale: a face pixel's centre goes to the
// centre of the block of device pixels it covers. Unchanged at scale 1.
float scaled(double v, double scale) {
    return scale == 1.0 ? static_cast<float>(v) : static_cast<float>((v + 0.5) * scale - 0.5);
}

int scaledWidth(int width, double scale) {
    return std::max(1, static_cast<int>(std::lround(width * scale)));
}
} // namespace

bool DrawZoneBand(Surface& surface, const ZoneBand& band, double scale) {
    surface.setDrawWidth(scaledWidth(BandDrawWidth, scale));
    surface.setFillStyle(SolidFill);
    const BandEnds ends = computeBandEnds(band.p, band.q);
    surface.setForeColor(band.color);
    surface.setFillColor(band.color);
    const float cx = scaled(CentreX, scale);
    const float cy = scaled(CentreY, scale);
    surface.circle(cx, cy, static_cast<float>(BandOuterRadius * scale), band.color,
                   band.arcStartRadians, band.arcEndRadians);
    surface.circle(cx, cy, static_cast<float>(BandInnerRadius * scale), band.color,
                   band.arcStartRadians, band.arcEndRadians);
    const float lift = band.raiseStartEdge ? 1.0f : 0.0f;
    surface.line(scaled(ends.startOuter.x, scale), scaled(ends.startOuter.y - lift, scale),
                 scaled(ends.startInner.x, scale), scaled(ends.startInner.y - lift, scale));
    surface.line(scaled(ends.endOuter.x, scale), scaled(ends.endOuter.y, scale),
                 scaled(ends.endInner.x, scale), scaled(ends.endInner.y, scale));
    const Point seed = computeBandSeed(band.p, band.q);
    return surface.floodFill(roundHalfEven(scaled(seed.x, scale)),
                             roundHalfEven(scaled(seed.y, scale)), surface.foreColor());
}

void drawScaleTicks(Surface& surface, double scale) {
    surface.setDrawWidth(scaledWidth(TickDrawWidth, scale));
    for (std::int16_t a = FirstTick; a <= LastTick; a += TickStep) {
        const Point outer = pointAt(a, TickOuterRadius);
        const Point inner = pointAt(a, TickInnerRadius);
        surface.line(scaled(outer.x, scale), scaled(outer.y, scale), scaled(inner.x, scale),
                     scaled(inner.y, scale), TickColor);
    }
}

} // namespace merv::dial
