// The scripting host's work per command as its input grows: the ticks of many controls in one
// advance, timers that keep failing, and controls that come and go under the property page.
#include "host/ScriptHost.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace merv::host {
namespace {

// Counts what the host writes and keeps none of it.
class CountingBuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    int overflow(int c) override {
        ++bytes;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += std::size_t(n);
        return n;
    }
};

struct QuietHost {
    CountingBuffer buffer;
    std::ostream out{&buffer};
    ScriptHost host{ScriptHostOptions{}, out};

    void repeat(const std::string& line, std::int64_t times) {
        for (std::int64_t i = 0; i < times; ++i)
            host.runLine(line);
    }
};

// N new controls whose first redraws all fall due together, delivered by one advance.
void BM_AdvanceManyDueControls(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<QuietHost>();
        h->repeat("new", state.range(0));
        state.ResumeTiming();
        h->host.runLine("advance 100");
        state.PauseTiming();
        h.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AdvanceManyDueControls)
    ->RangeMultiplier(2)
    ->Range(500, 4000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Baseline for BM_AdvanceManyDueControls: the same redraws, one `tick` per control.
void BM_TickManyControlsOneByOne(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<QuietHost>();
        for (std::int64_t i = 1; i <= state.range(0); ++i)
            h->host.runLine("new");
        state.ResumeTiming();
        for (std::int64_t i = 1; i <= state.range(0); ++i) {
            h->host.runLine("use " + std::to_string(i));
            h->host.runLine("tick");
        }
        state.PauseTiming();
        h.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TickManyControlsOneByOne)
    ->RangeMultiplier(2)
    ->Range(500, 4000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Ten controls with a scale of zero span: every redraw fails, and is due again 100 ms on.
// The counter is what one advance of the given milliseconds writes.
void BM_AdvanceFailingTimers(benchmark::State& state) {
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<QuietHost>();
        h->repeat("restore {\"MinValue\":50,\"MaxValue\":50}", 10);
        const std::size_t before = h->buffer.bytes;
        state.ResumeTiming();
        h->host.runLine("advance " + std::to_string(state.range(0)));
        state.PauseTiming();
        written = h->buffer.bytes - before;
        h.reset();
        state.ResumeTiming();
    }
    state.counters["output_bytes"] = double(written);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AdvanceFailingTimers)
    ->RangeMultiplier(4)
    ->Range(1000, 64000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Cycles of new, page load and terminate; the counter is the heap the host still holds
// afterwards, per cycle.
void BM_NewPageLoadTerminateCycles(benchmark::State& state) {
    double perCycle = 0;
    for (auto _ : state) {
        QuietHost h;
        h.host.runLine("new");
        h.host.runLine("page load");
        h.host.runLine("terminate");
        const std::size_t before = mallinfo2().uordblks;
        for (std::int64_t i = 0; i < state.range(0); ++i) {
            h.host.runLine("new");
            h.host.runLine("page load");
            h.host.runLine("terminate");
        }
        perCycle = (double(mallinfo2().uordblks) - double(before)) / double(state.range(0));
    }
    state.counters["heap_bytes_per_cycle"] = perCycle;
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NewPageLoadTerminateCycles)
    ->RangeMultiplier(4)
    ->Range(250, 16000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
} // namespace merv::host
