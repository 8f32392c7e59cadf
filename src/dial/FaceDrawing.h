#pragma once

#include <mervgauge/dial/FaceGeometry.h>
#include <mervgauge/dial/ZoneBand.h>

#include <vector>

namespace merv {
class Surface;
}

namespace merv::dial {

// The bands the face draws for the geometry, in drawing order (alarm low to alarm high); a
// band whose thresholds leave it no width is left out.
std::vector<ZoneBand> zoneBands(const FaceGeometry& geometry, const ZoneColors& colors);

// The face's pixel work onto a surface of the face's size times scale: the bands, each
// outlined and flood-filled, then the ticks. At scale 1 these are the face's own pixels.
void drawFace(Surface& surface, const FaceGeometry& geometry, const ZoneColors& colors,
              double scale = 1.0);

} // namespace merv::dial
