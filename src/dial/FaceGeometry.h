#pragma once

#include <cstdint>

namespace merv {

// The colours of the zone bands: the alarm colour serves both alarm bands, the warning colour
// both warning bands.
struct ZoneColors {
    std::uint32_t alarm = 0;
    std::uint32_t warning = 0;
    std::uint32_t normal = 0;
};

namespace dial {

// Where one face draw puts its bands: the threshold angles, and the arc ends in degrees after
// the nudges that keep an arc from collapsing at the scale ends or at equal thresholds.
struct FaceGeometry {
    float alarmHighAngle = 0, warningHighAngle = 0, warningLowAngle = 0, alarmLowAngle = 0;
    float alarmHighArc = 0, warningHighArc = 0, warningLowArc = 0, alarmLowArc = 0;
};

} // namespace dial
} // namespace merv
