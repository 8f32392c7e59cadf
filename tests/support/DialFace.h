#pragma once

// The dial face's zone bands in degrees, drawn with the dial's own geometry and band drawing,
// so surface tests and benchmarks exercise exactly what the face depends on.

#include "dial/DialGeometry.h"
#include "dial/ZoneBand.h"
#include "platform/Surface.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace merv::dialface {

constexpr auto kCentreX = static_cast<float>(dial::CentreX);
constexpr auto kCentreY = static_cast<float>(dial::CentreY);
constexpr auto kOuterRadius = static_cast<float>(dial::BandOuterRadius);
constexpr auto kInnerRadius = static_cast<float>(dial::BandInnerRadius);
// Default zone colours (0x00BBGGRR) and the face background.
constexpr std::uint32_t kAlarm = 255;
constexpr std::uint32_t kWarning = 65535;
constexpr std::uint32_t kNormal = 65280;
constexpr std::uint32_t kBackground = 0xC0C0C0;
// Surface size of the face in use.
constexpr int kWidth = 165;
constexpr int kHeight = 88;

// Arc ends in degrees as the face passes them: the fixed ends at 180 and 0 degrees exactly.
inline float arcRadians(float degrees) {
    if (degrees == 180.0f)
        return static_cast<float>(dial::ArcEnd180Radians);
    return degrees == 0.0f ? 0.0f : dial::arcRadians(degrees);
}

inline float pointX(float degrees, double radius) {
    return dial::pointAt(degrees, radius).x;
}
inline float pointY(float degrees, double radius) {
    return dial::pointAt(degrees, radius).y;
}

// One zone band: edges at p (nearer 180) and q, arcs from arcStart to arcEnd in degrees.
struct Band {
    std::uint32_t color;
    float p;
    float q;
    float arcStart;
    float arcEnd;
    bool raisedStartEdge = false; // the low-warning band draws its edge at p one pixel higher
};

struct Seed {
    int x;
    int y;
};

inline Seed bandSeed(const Band& band) {
    const dial::Point seed = dial::computeBandSeed(band.p, band.q);
    return {dial::roundHalfEven(seed.x), dial::roundHalfEven(seed.y)};
}

// Arcs, edges and fill of one band, as the face draws it.
inline bool drawBand(Surface& surface, const Band& band) {
    return dial::DrawZoneBand(surface, {band.color, band.p, band.q, arcRadians(band.arcStart),
                                        arcRadians(band.arcEnd), band.raisedStartEdge});
}

// The five bands for the default thresholds 20, 35, 65 and 80 of 0..100.
inline std::array<Band, 5> defaultBands() {
    return {{
        {kAlarm, 180.0f, 144.0f, 144.0f, 180.0f},
        {kWarning, 144.0f, 117.0f, 117.0f, 144.0f, true},
        {kNormal, 117.0f, 63.0f, 63.0f, 117.0f},
        {kWarning, 63.0f, 36.0f, 36.0f, 63.0f},
        {kAlarm, 36.0f, 0.0f, 0.0f, 36.0f},
    }};
}

// The whole face: clear, five bands, four one-pixel black ticks.
inline void drawDefaultFace(Surface& surface) {
    surface.cls();
    for (const Band& band : defaultBands()) {
        drawBand(surface, band);
    }
    dial::drawScaleTicks(surface);
}

} // namespace merv::dialface
