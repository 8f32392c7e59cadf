// Typing into a text field: one character at the caret costs the same however long the text
// already is. The benchmark types at three lengths; the ratios between them show the growth.
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/TextField.h>

#include <benchmark/benchmark.h>

namespace {

// Types state.range(0) characters into an empty field, one KeyPress and one Change each.
void BM_TypeIntoField(benchmark::State& state) {
    const auto characters = static_cast<int>(state.range(0));
    for (auto _ : state) {
        merv::ElementTree tree;
        merv::TextField& field = tree.create<merv::TextField>("Text1", &tree.root());
        field.onChange = [] {};
        for (int i = 0; i < characters; ++i)
            field.typeCharacter(U'0' + char32_t(i % 10));
        benchmark::DoNotOptimize(field.text().data());
    }
    state.SetItemsProcessed(state.iterations() * characters);
}
BENCHMARK(BM_TypeIntoField)->Arg(1 << 10)->Arg(1 << 14)->Arg(1 << 18);

} // namespace
