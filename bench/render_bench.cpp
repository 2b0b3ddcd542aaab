// Start's rendering step in looped mode: the usul mixed and written as "Shablon.---", from
// the sample bank of a real sound folder, into memory (mix, schedule and the file image)
// and to the file. Cases:
// - the longest built-in usul (Ağır Darb-ı fetih v., slot 186, 2,816 64ths in 109 strokes)
//   at the slowest (20 to the quarter, 528 s) and the fastest tempo (250 to the sixteenth,
//   169 s): too long to repeat, one cycle each;
// - about two minutes in one cycle: Darb-ı fetih (slot 183, 1,408 64ths) at 177 to the
//   sixteenth, 119 s, the largest file looped mode makes without repeating;
// - a short usul repeated to fill two minutes: Düyek (slot 32) at the start-up tempo.
#include "bench/bench_support.h"
#include "sound/sample_bank.h"
#include "sound/usul_render.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

using namespace zerkavi;
namespace fs = std::filesystem;

namespace {

// The built-in usul with the longest cycle, and of those the one with most strokes.
int longestSlot() {
    auto key = [](int slot) {
        const UsulRecord u = bench::builtInUsul(slot);
        int strokes = 0;
        for (const Halka& h : u.circles)
            strokes += h.hasStroke();
        return std::pair(sumOfStrokes(u), strokes);
    };
    int best = 1;
    for (int slot = 2; slot <= 200; ++slot)
        if (key(slot) > key(best)) best = slot;
    return best;
}

UsulRenderSettings settings(int bpm, int unitNote) {
    UsulRenderSettings s;
    s.bpm = bpm;
    s.unitNote = unitNote;
    s.instrumentCode = "BENDR";
    s.looped = true;
    return s;
}

void report(benchmark::State& state, const UsulRender& r) {
    state.counters["cycles"] = r.cycles;
    state.counters["strokes"] = r.strokeCount();
    state.counters["fileMB"] = double(44 + 2 * r.sampleCount()) / 1e6;
    state.counters["soundS"] = r.playLengthMs / 1000;
}

void toMemory(benchmark::State& state, int slot, int bpm, int unitNote) {
    const UsulRecord u = bench::builtInUsul(slot);
    SampleReader reader;
    UsulRender r;
    for (auto _ : state) {
        r = renderUsul(u, settings(bpm, unitNote), bench::bankFolder(), reader);
        auto image = usulFileImage(r);
        benchmark::DoNotOptimize(image.data());
    }
    report(state, r);
}

void toFile(benchmark::State& state, int slot, int bpm, int unitNote) {
    const UsulRecord u = bench::builtInUsul(slot);
    SampleReader reader;
    UsulRender r;
    for (auto _ : state) {
        bool written = false;
        r = renderUsulToFile(u, settings(bpm, unitNote), bench::bankFolder(), reader, &written);
        if (!written) state.SkipWithError("Shablon.--- not written");
    }
    report(state, r);
}

constexpr int kDuyek = 32;
constexpr int kDarbiFetih = 183;

void BM_LongestSlowToMemory(benchmark::State& s) {
    toMemory(s, longestSlot(), 20, 4);
}
void BM_LongestSlowToFile(benchmark::State& s) {
    toFile(s, longestSlot(), 20, 4);
}
void BM_LongestFastToMemory(benchmark::State& s) {
    toMemory(s, longestSlot(), 250, 16);
}
void BM_LongestFastToFile(benchmark::State& s) {
    toFile(s, longestSlot(), 250, 16);
}
void BM_OneCycleTwoMinutesToMemory(benchmark::State& s) {
    toMemory(s, kDarbiFetih, 177, 16);
}
void BM_OneCycleTwoMinutesToFile(benchmark::State& s) {
    toFile(s, kDarbiFetih, 177, 16);
}
void BM_DuyekTwoMinutesToMemory(benchmark::State& s) {
    toMemory(s, kDuyek, 150, 8);
}
void BM_DuyekTwoMinutesToFile(benchmark::State& s) {
    toFile(s, kDuyek, 150, 8);
}

BENCHMARK(BM_LongestSlowToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongestSlowToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongestFastToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongestFastToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneCycleTwoMinutesToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneCycleTwoMinutesToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuyekTwoMinutesToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuyekTwoMinutesToFile)->Unit(benchmark::kMillisecond);

} // namespace
