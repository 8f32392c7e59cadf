// Value writes and face redraws of a restored control, the two paths a host drives most.
#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/PropertyBag.h>

#include <benchmark/benchmark.h>

#include <memory>

namespace merv {
namespace {

class QuietSite : public ContainerSite {
public:
    std::optional<bool> ambientUserMode() const override {
        return attached ? std::optional<bool>(true) : std::nullopt;
    }
    std::uint32_t ambientBackColor() const override { return 0x8000000Fu; }
    std::int32_t ambientLocaleID() const override { return 1033; }
    void propertyChanged(std::string_view) override {}
    void raiseEvent(int, std::string_view) override {}
    const NumberLocale& numberLocale() const override { return m_locale; }
    std::int32_t resourceLanguage() const override { return 1033; }

    bool attached = false;

private:
    NumberLocale m_locale = NumberLocale::english();
};

struct RestoredGauge {
    QuietSite site;
    std::unique_ptr<MERV_Gauge> gauge;
    RestoredGauge() {
        gauge = std::make_unique<MERV_Gauge>(site);
        gauge->Initialize();
        site.attached = true;
        MemoryPropertyBag bag;
        bag.set("Precision", Variant::integer(2));
        gauge->ReadProperties(bag);
        gauge->Resize();
        gauge->ui().InitTimer.tick(); // takes the threshold snapshots
    }
};

// Values across every band, so events fire and the needle moves on most writes.
constexpr float WrittenValues[] = {12.5f, 27.25f, 50.0f, 70.75f, 91.125f, 66.0f, 33.5f, 5.0f};

// The whole value update: format, five tests (events crossing bands), needle.
void BM_ValueWrite(benchmark::State& state) {
    RestoredGauge g;
    std::size_t i = 0;
    for (auto _ : state) {
        g.gauge->setValue(WrittenValues[i]);
        i = (i + 1) % std::size(WrittenValues);
    }
    benchmark::DoNotOptimize(g.gauge->ui().LineValore.x1());
}
BENCHMARK(BM_ValueWrite);

// A view that takes every notice and does nothing with it.
class IdleView : public ElementObserver {
public:
    void elementChanged(const ElementNotice& notice) override { benchmark::DoNotOptimize(&notice); }
};

// BM_ValueWrite with a view watching: the notices are told, the needle's restacking held back.
void BM_ValueWriteWatched(benchmark::State& state) {
    RestoredGauge g;
    IdleView view;
    g.gauge->elements().addObserver(view);
    std::size_t i = 0;
    for (auto _ : state) {
        g.gauge->setValue(WrittenValues[i]);
        i = (i + 1) % std::size(WrittenValues);
    }
    g.gauge->elements().removeObserver(view);
}
BENCHMARK(BM_ValueWriteWatched);

// Baseline for BM_ValueWrite: the storage text write alone, without the update.
void BM_ValueTextOnly(benchmark::State& state) {
    RestoredGauge g;
    g.gauge->ui().Valore.onChange = nullptr;
    const char* texts[] = {"12.5", "27.25", "50", "70.75", "91.125", "66", "33.5", "5"};
    std::size_t i = 0;
    for (auto _ : state) {
        g.gauge->ui().Valore.setText(texts[i]);
        i = (i + 1) % std::size(texts);
    }
}
BENCHMARK(BM_ValueTextOnly);

// The whole face redraw: clear, clamp, angles, five bands, ticks, labels, snapshot, update.
void BM_FaceRedraw(benchmark::State& state) {
    RestoredGauge g;
    for (auto _ : state)
        g.gauge->InitTimer_Timer();
    benchmark::DoNotOptimize(g.gauge->ui().Sfondo.surface().pixel(83, 6));
}
BENCHMARK(BM_FaceRedraw);

// BM_FaceRedraw with a view watching: each present also finds which pixels changed.
void BM_FaceRedrawWatched(benchmark::State& state) {
    RestoredGauge g;
    IdleView view;
    g.gauge->elements().addObserver(view);
    for (auto _ : state)
        g.gauge->InitTimer_Timer();
    g.gauge->elements().removeObserver(view);
}
BENCHMARK(BM_FaceRedrawWatched);

} // namespace
} // namespace merv
