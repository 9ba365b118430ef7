// Speed of the place data: reading places.bin, matching a name (--place, --find) and completion
// (the map window's search field).
// Run by hand:  cmake -S . -B build-bench -G Ninja -DVANTORA_BENCH=ON -DVANTORA_GUI=OFF -DVANTORA_TESTS=OFF
//               cmake --build build-bench && build-bench/bin/vantora_bench --benchmark_filter=places
#include "core/places.hpp"

#include <benchmark/benchmark.h>

namespace {

const vantora::PlaceIndex& places() {
    static const auto loaded = vantora::load_places(VANTORA_SOURCE_DIR "/data/places.bin");
    return std::get<vantora::PlaceIndex>(loaded);
}

void BM_places_load(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(vantora::load_places(VANTORA_SOURCE_DIR "/data/places.bin"));
}
BENCHMARK(BM_places_load)->Unit(benchmark::kMillisecond);

/// Names as typed: a full name, a name without prefecture, an ambiguous one, one that is nowhere.
const char* const kTyped[] = {"京都府綾部市本町一丁目", "綾部市本町一丁目", "本町一丁目", "ここにはない地名"};

void BM_places_match(benchmark::State& state) {
    const char* typed = kTyped[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(places().match(typed));
    state.SetLabel(typed);
}
BENCHMARK(BM_places_match)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

/// Completion while typing: one character (matches most places), a few, a whole name.
const char* const kPrefixes[] = {"町", "綾部", "京都府綾部市本町"};

void BM_places_complete(benchmark::State& state) {
    const char* typed = kPrefixes[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(places().complete(typed, 20));
    state.SetLabel(typed);
}
BENCHMARK(BM_places_complete)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
