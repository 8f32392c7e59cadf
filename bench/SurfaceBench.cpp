#include "platform/Surface.h"

// FIXME: the k-prefixed face constants come from this helper, which is to give way to the core's
// own band table; rename them with it.
#include "../tests/support/DialFace.h"

#include <benchmark/benchmark.h>

namespace {

using namespace merv::dialface;

// The whole face as the gauge redraws it: clear, five filled bands, four ticks.
void BM_DialBands(benchmark::State& state) {
    merv::Surface surface(kWidth, kHeight, kBackground);
    for (auto _ : state) {
        drawDefaultFace(surface);
        benchmark::DoNotOptimize(surface.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DialBands);

void BM_Cls(benchmark::State& state) {
    merv::Surface surface(kWidth, kHeight, kBackground);
    for (auto _ : state) {
        surface.cls();
        benchmark::DoNotOptimize(surface.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Cls);

// The ten band arcs alone, to tell outline cost from fill cost.
void BM_BandArcs(benchmark::State& state) {
    merv::Surface surface(kWidth, kHeight, kBackground);
    surface.setDrawWidth(2);
    for (auto _ : state) {
        for (const Band& band : defaultBands()) {
            const float start = arcRadians(band.arcStart);
            const float end = arcRadians(band.arcEnd);
            surface.circle(kCentreX, kCentreY, kOuterRadius, band.color, start, end);
            surface.circle(kCentreX, kCentreY, kInnerRadius, band.color, start, end);
        }
        benchmark::DoNotOptimize(surface.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BandArcs);

// A fill whose colour differs from its border, so it keeps marks instead of relying on paint.
void BM_FillMarked(benchmark::State& state) {
    merv::Surface surface(kWidth, kHeight, kBackground);
    surface.setFillColor(kNormal);
    for (auto _ : state) {
        benchmark::DoNotOptimize(surface.floodFill(0, 0, kAlarm));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillMarked);

} // namespace
