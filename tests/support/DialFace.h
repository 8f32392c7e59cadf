#pragma once

// Draws the dial face's zone bands the way the gauge does, from surface primitives only, so
// surface tests and benchmarks exercise the exact geometry the face depends on.

#include "platform/Surface.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace merv::dialface {

// Centre of the dial in surface pixels.
constexpr float kCentreX = 83.0f;
constexpr float kCentreY = 78.0f;
// A band runs from the inner to the outer arc radius.
constexpr float kOuterRadius = 77.0f;
constexpr float kInnerRadius = 69.0f;
// The fill seed lies on an ellipse between the arcs, not on a circle.
constexpr double kSeedRadiusX = 73.0;
constexpr double kSeedRadiusY = 72.0;
// Ticks reach one pixel beyond the band outside and two inside.
constexpr float kTickOuterRadius = 78.0f;
constexpr float kTickInnerRadius = 67.0f;
// The gauge's nine-digit pi, used for every degree-to-radian conversion.
constexpr double kPi9 = 3.14159265;
// Arc end at 180 degrees, as the gauge passes it.
constexpr double kArc180 = 565.486677 / 180.0;
// Default zone colours (0x00BBGGRR) and the face background.
constexpr std::uint32_t kAlarm = 255;
constexpr std::uint32_t kWarning = 65535;
constexpr std::uint32_t kNormal = 65280;
constexpr std::uint32_t kBackground = 0xC0C0C0;
// Surface size of the face in use.
constexpr int kWidth = 165;
constexpr int kHeight = 88;

inline double toRadians(double degrees) {
    return degrees * kPi9 / 180.0;
}

inline float arcRadians(float degrees) {
    if (degrees == 180.0f) {
        return static_cast<float>(kArc180);
    }
    return degrees == 0.0f ? 0.0f : static_cast<float>(toRadians(degrees));
}

inline float pointX(double degrees, double radius) {
    return static_cast<float>(kCentreX + radius * std::cos(toRadians(degrees)));
}
inline float pointY(double degrees, double radius) {
    return static_cast<float>(kCentreY - radius * std::sin(toRadians(degrees)));
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
    const double mean = (static_cast<double>(band.p) + band.q) / 2.0;
    const auto x = static_cast<float>(kCentreX + kSeedRadiusX * std::cos(toRadians(mean)));
    const auto y = static_cast<float>(kCentreY - kSeedRadiusY * std::sin(toRadians(mean)));
    // The seed rounds half to even, the default floating-point rounding.
    return {static_cast<int>(std::nearbyint(x)), static_cast<int>(std::nearbyint(y))};
}

// Arcs, edges and fill of one band, with draw width 2 and a solid fill in the band colour.
inline bool drawBand(Surface& surface, const Band& band) {
    surface.setDrawWidth(2);
    surface.setFillStyle(0);
    surface.setForeColor(band.color);
    surface.setFillColor(band.color);
    const float start = arcRadians(band.arcStart);
    const float end = arcRadians(band.arcEnd);
    surface.circle(kCentreX, kCentreY, kOuterRadius, band.color, start, end);
    surface.circle(kCentreX, kCentreY, kInnerRadius, band.color, start, end);
    const float lift = band.raisedStartEdge ? 1.0f : 0.0f;
    surface.line(pointX(band.p, kOuterRadius), pointY(band.p, kOuterRadius) - lift,
                 pointX(band.p, kInnerRadius), pointY(band.p, kInnerRadius) - lift);
    surface.line(pointX(band.q, kOuterRadius), pointY(band.q, kOuterRadius),
                 pointX(band.q, kInnerRadius), pointY(band.q, kInnerRadius));
    const Seed seed = bandSeed(band);
    return surface.floodFill(seed.x, seed.y, surface.foreColor());
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
    surface.setDrawWidth(1);
    for (int a = 36; a <= 144; a += 36) {
        surface.line(pointX(a, kTickOuterRadius), pointY(a, kTickOuterRadius),
                     pointX(a, kTickInnerRadius), pointY(a, kTickInnerRadius), 0);
    }
}

} // namespace merv::dialface
