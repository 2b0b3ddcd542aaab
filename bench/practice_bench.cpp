// What a tempo change while playing costs before it can be heard: the cycle mixed again at
// the new tempo (with the beat click), and the audio thread's share, reading 5 ms of the
// stream with a change of tempo waiting. The change is heard once the cycle is mixed, the
// output's buffer has played and the next stroke comes:
//   latency ≈ mix time + buffer (the player's bufferMs) + up to one stroke.
// Cases: Düyek (slot 32, 5 strokes) and Muhammes (slot 164, 21 strokes, 512 64ths) at 60
// and 200 to the eighth.
//
//   cmake --build build --target practice_bench && build/bench/practice_bench
#include "bench/bench_support.h"
#include "sound/cycle_stream.h"
#include "sound/practice.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace zerkavi;
using zerkavi::bench::bankFolder;

namespace {

void BM_MixAtNewTempo(benchmark::State& state) {
    const UsulRecord u = bench::builtInUsul(int(state.range(0)));
    const PracticeSettings p{.click = true};
    for (auto _ : state) {
        SampleReader reader;
        PracticeCycle c =
            practiceCycle(u, {int(state.range(1)), 8, "BENDR", false}, p, bankFolder(), reader);
        benchmark::DoNotOptimize(c.samples.data());
    }
}
BENCHMARK(BM_MixAtNewTempo)
    ->Args({32, 60})
    ->Args({32, 200})
    ->Args({164, 60})
    ->Args({164, 200})
    ->Unit(benchmark::kMillisecond);

void BM_Read5msWithAChangeWaiting(benchmark::State& state) {
    const UsulRecord u = bench::builtInUsul(164);
    SampleReader reader;
    auto fast = std::make_shared<PracticeCycle>(
        practiceCycle(u, {200, 8, "BENDR", false}, {}, bankFolder(), reader));
    auto slow = std::make_shared<PracticeCycle>(
        practiceCycle(u, {60, 8, "BENDR", false}, {}, bankFolder(), reader));
    CycleStream stream({}, fast);
    std::vector<std::int16_t> out(220);
    bool which = false;
    for (auto _ : state) {
        stream.changeCycle((which = !which) ? slow : fast);
        benchmark::DoNotOptimize(stream.read(out));
    }
}
BENCHMARK(BM_Read5msWithAChangeWaiting)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
