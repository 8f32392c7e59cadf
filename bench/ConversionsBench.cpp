#include <mervgauge/platform/Conversions.h>

#include <benchmark/benchmark.h>

namespace {

const merv::NumberLocale English = merv::NumberLocale::english();

// A typical gauge value as it sits in a storing text.
void BM_TextToSingle(benchmark::State& state) {
    std::string_view text = "65.25";
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(merv::convert::textToSingle(text, English));
    }
}
BENCHMARK(BM_TextToSingle);

void BM_SingleToText(benchmark::State& state) {
    float value = 654322.25f; // an exact tie, the slower path
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(merv::convert::singleToText(value, English));
    }
}
BENCHMARK(BM_SingleToText);

void BM_SingleToTextCommon(benchmark::State& state) {
    float value = 65.25f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(merv::convert::singleToText(value, English));
    }
}
BENCHMARK(BM_SingleToTextCommon);

void BM_Format(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(merv::convert::format("65.2549", "###0.00", English));
}
BENCHMARK(BM_Format);

} // namespace
