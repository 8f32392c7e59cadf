#include <mervgauge/dial/FaceDrawing.h>

#include <mervgauge/dial/DialGeometry.h>

namespace merv::dial {

std::vector<ZoneBand> zoneBands(const FaceGeometry& g, const ZoneColors& colors) {
    const auto arc180 = static_cast<float>(ArcEnd180Radians);
    constexpr float arc0 = 0.0f;
    std::vector<ZoneBand> bands;
    if (g.alarmLowAngle < 180.0f)
        bands.push_back({colors.alarm, 180.0f, g.alarmLowAngle, arcRadians(g.alarmLowArc), arc180});
    if (g.warningLowAngle < g.alarmLowAngle)
        bands.push_back({colors.warning, g.alarmLowAngle, g.warningLowAngle,
                         arcRadians(g.warningLowArc), arcRadians(g.alarmLowArc),
                         /*raiseStartEdge=*/true});
    bands.push_back({colors.normal, g.warningLowAngle, g.warningHighAngle,
                     arcRadians(g.warningHighArc), arcRadians(g.warningLowArc)});
    if (g.warningHighAngle > g.alarmHighAngle)
        bands.push_back({colors.warning, g.warningHighAngle, g.alarmHighAngle,
                         arcRadians(g.alarmHighArc), arcRadians(g.warningHighArc)});
    if (g.alarmHighAngle > 0.0f)
        bands.push_back({colors.alarm, g.alarmHighAngle, 0.0f, arc0, arcRadians(g.alarmHighArc)});
    return bands;
}

void drawFace(Surface& surface, const FaceGeometry& geometry, const ZoneColors& colors,
              double scale) {
    for (const ZoneBand& band : zoneBands(geometry, colors))
        DrawZoneBand(surface, band, scale);
    drawScaleTicks(surface, scale);
}

} // namespace merv::dial
