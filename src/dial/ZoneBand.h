#pragma once

#include <cstdint>

namespace merv {
class Surface;
}

namespace merv::dial {

// One coloured zone band of the dial: its radial edges stand at the angles p (the end nearer
// 180 degrees) and q; its arcs run counter-clockwise from arcStart to arcEnd, in radians as the
// arc drawing takes them.
struct ZoneBand {
    std::uint32_t color = 0;
    float p = 0;
    float q = 0;
    float arcStartRadians = 0;
    float arcEndRadians = 0;
    // The warning-low band draws its edge at p one pixel higher.
    bool raiseStartEdge = false;
};

// Outlines the band in its colour (two arcs and two radial edges, 2 pixels wide) and fills it
// from its seed up to pixels of that colour. False when the seed lies on the outline and
// nothing was filled. Above scale 1 the surface has scale device pixels to the face's pixel:
// points, radii, the seed and the pen widths scale with it.
bool DrawZoneBand(Surface& surface, const ZoneBand& band, double scale = 1.0);

// The four black one-pixel ticks at 20, 40, 60 and 80 percent of the scale.
void drawScaleTicks(Surface& surface, double scale = 1.0);

} // namespace merv::dial
