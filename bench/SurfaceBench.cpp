#include <mervgauge/platform/Surface.h>

#include <mervgauge/dial/DialGeometry.h>
#include <mervgauge/dial/FaceDrawing.h>
#include <mervgauge/layout/SurfaceLayout.h>

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using merv::Layout::DialSurfaceHeight;
using merv::Layout::DialSurfaceWidth;
namespace dial = merv::dial;

constexpr std::uint32_t Background = 0xC0C0C0;
constexpr merv::ZoneColors Zones{0x0000FF, 0x00FFFF, 0x00FF00};
// The default thresholds 20, 35, 65 and 80 of 0..100 as angles, arcs unnudged.
constexpr dial::FaceGeometry DefaultFace{36, 63, 117, 144, 36, 63, 117, 144};

// The whole face as the gauge redraws it: clear, five filled bands, four ticks.
void BM_DialBands(benchmark::State& state) {
    merv::Surface surface(DialSurfaceWidth, DialSurfaceHeight, Background);
    for (auto _ : state) {
        surface.cls();
        dial::drawFace(surface, DefaultFace, Zones);
        benchmark::DoNotOptimize(surface.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DialBands);

void BM_Cls(benchmark::State& state) {
    merv::Surface surface(DialSurfaceWidth, DialSurfaceHeight, Background);
    for (auto _ : state) {
        surface.cls();
        benchmark::DoNotOptimize(surface.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Cls);

// The ten band arcs alone, to tell outline cost from fill cost.
void BM_BandArcs(benchmark::State& state) {
    merv::Surface surface(DialSurfaceWidth, DialSurfaceHeight, Background);
    surface.setDrawWidth(2);
    for (auto _ : state) {
        for (const dial::ZoneBand& band : dial::zoneBands(DefaultFace, Zones)) {
            for (const double radius : {dial::BandOuterRadius, dial::BandInnerRadius})
                surface.circle(static_cast<float>(dial::CentreX), static_cast<float>(dial::CentreY),
                               static_cast<float>(radius), band.color, band.arcStartRadians,
                               band.arcEndRadians);
        }
        benchmark::DoNotOptimize(surface.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BandArcs);

// A fill whose colour differs from its border, so it keeps marks instead of relying on paint.
void BM_FillMarked(benchmark::State& state) {
    merv::Surface surface(DialSurfaceWidth, DialSurfaceHeight, Background);
    surface.setFillColor(Zones.normal);
    for (auto _ : state) {
        benchmark::DoNotOptimize(surface.floodFill(0, 0, Zones.alarm));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillMarked);

} // namespace
