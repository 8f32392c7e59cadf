#pragma once

#include <cstdint>

// The fixed geometry of the half-ring dial, in pixels of the dial face: origin top left,
// y downward; angles in degrees, 0 to the right, 90 up, counter-clockwise.
namespace merv::dial {

// The dial centre.
inline constexpr double CentreX = 83.0;
inline constexpr double CentreY = 78.0;
// Zone bands run from the inner to the outer radius.
inline constexpr double BandOuterRadius = 77.0;
inline constexpr double BandInnerRadius = 69.0;
// The flood-fill seed of a band lies on an ellipse, 73 across and 72 down.
inline constexpr double SeedRadiusX = 73.0;
inline constexpr double SeedRadiusY = 72.0;
// Scale ticks reach one pixel beyond the band outside and two inside.
inline constexpr double TickOuterRadius = 78.0;
inline constexpr double TickInnerRadius = 67.0;
// The needle tip's distance from the centre.
inline constexpr double NeedleLength = 60.0;
// The value of pi the dial's conversions use: this nine-digit literal, not a full-precision pi.
inline constexpr double Pi = 3.14159265;
// The scale sweeps half a circle, from the minimum at 180 degrees to the maximum at 0.
inline constexpr double ScaleSweep = 180.0;
// The 180-degree arc end in radians, as the arc drawing takes it.
inline constexpr double ArcEnd180Radians = 565.486677 / 180.0;

struct Point {
    float x = 0;
    float y = 0;
};

// Every floating-point step of the dial is checked: a result that overflowed or was invalid
// fails with Overflow (6); a division by zero with DivisionByZero (11), or Overflow for 0 / 0.
double checked(double result);
double checkedDivide(double numerator, double denominator);

// Angle in degrees to radians, in double precision with the dial's pi.
double toRadians(double degrees) noexcept;

// An arc angle in degrees as the arc drawing takes it: radians rounded to single.
float arcRadians(float degrees) noexcept;

// The point at the angle and radius, each coordinate rounded to single.
Point pointAt(float degrees, double radius) noexcept;

// Maps a scale value to its angle: the minimum to 180 degrees, the maximum to 0. Each step
// is checked: a zero span fails with DivisionByZero (11), or Overflow (6) when the value
// equals the minimum; a step beyond the single range fails with Overflow.
float valueToAngle(double value, double minimum, double maximum);

// The two radial edges of a band between angles p and q.
struct BandEnds {
    Point startOuter, startInner; // at p
    Point endOuter, endInner;     // at q
};
BandEnds computeBandEnds(float p, float q) noexcept;

// The flood-fill seed of a band between p and q, on the seed ellipse at the mean angle.
Point computeBandSeed(float p, float q) noexcept;

// Nearest integer, halves to even, as the fill and the needle take coordinates.
std::int32_t roundHalfEven(double value);

} // namespace merv::dial
