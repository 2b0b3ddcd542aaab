// Rendering a 30-minute work plan ("Long 164 28 4 30": Muhammes of slot 164 28 times at 30
// to the quarter, 1,792 s of sound, a 158 MB file) into "Eser.---", side by side with sox
// mixing the same number of samples (the rendered plan mixed with itself), and the peak
// memory the rendering adds to the process, measured in a child process of its own.
//
// Run by hand: build/bench/plan_bench (sox must be installed for the comparison).
#include "bench/bench_support.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "sound/sample_bank.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace zerkavi;
namespace fs = std::filesystem;

namespace {

std::optional<UsulRecord> builtIn(int slot) {
    if (slot < 1 || slot > 255) return std::nullopt;
    return bench::builtInUsul(slot);
}

const std::u32string kLongPlan = normalisedPlanLine({U"Long", U"164", U"28", U"4", U"30"});

PlanRenderResult renderLongPlan() {
    UsulRecord current;
    SampleReader reader;
    return renderPlan(kLongPlan, builtIn, current, bench::bankFolder(), reader);
}

// Peak resident memory of this process so far, in kB.
long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
    return 0;
}

void BM_LongPlanToFile(benchmark::State& state) {
    PlanRenderResult r;
    for (auto _ : state) {
        r = renderLongPlan();
        if (!r.fileOk) state.SkipWithError("Eser.--- not written");
    }
    state.counters["soundS"] = double(r.renderedSamples) / 44100;
    state.counters["fileMB"] = double(44 + 2 * r.renderedSamples) / 1e6;
    state.counters["xRealTime"] = benchmark::Counter(double(r.renderedSamples) / 44100,
                                                     benchmark::Counter::kIsIterationInvariantRate);
}

// sox mixing two files of the plan's length: the same number of samples, the same strokes.
void BM_SoxMixSameSamples(benchmark::State& state) {
    const fs::path eser = bench::bankFolder() / kPlanSoundFileName;
    const fs::path wav = bench::bankFolder() / "plan.wav";
    const PlanRenderResult r = renderLongPlan();
    std::error_code ec;
    fs::copy_file(eser, wav, fs::copy_options::overwrite_existing, ec);
    if (std::system("command -v sox >/dev/null 2>&1") != 0) {
        state.SkipWithError("sox is not installed");
        return;
    }
    const std::string command = "sox -m '" + wav.string() + "' '" + wav.string() + "' '" +
                                (bench::bankFolder() / "mixed.wav").string() + "'";
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError("sox failed");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["soundS"] = double(r.renderedSamples) / 44100;
    state.counters["xRealTime"] = benchmark::Counter(double(r.renderedSamples) / 44100,
                                                     benchmark::Counter::kIsIterationInvariantRate);
}

// Peak memory the rendering adds, in a fresh child so that nothing measured before counts.
void BM_LongPlanPeakMemory(benchmark::State& state) {
    bench::bankFolder();
    long addedKb = 0;
    for (auto _ : state) {
        int pipeFd[2];
        if (::pipe(pipeFd) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeFd[0]);
            // Free memory the parent's earlier runs left resident goes back to the system,
            // and the peak starts again from what this process holds now.
            ::malloc_trim(0);
            std::ofstream("/proc/self/clear_refs") << "5";
            const long before = peakKb();
            const PlanRenderResult r = renderLongPlan();
            long added = r.fileOk ? peakKb() - before : -1;
            if (::write(pipeFd[1], &added, sizeof added) != sizeof added) ::_exit(1);
            ::_exit(0);
        }
        ::close(pipeFd[1]);
        if (::read(pipeFd[0], &addedKb, sizeof addedKb) != sizeof addedKb) addedKb = -1;
        ::close(pipeFd[0]);
        ::waitpid(child, nullptr, 0);
    }
    if (addedKb < 0) state.SkipWithError("the child did not render");
    state.counters["addedMB"] = double(addedKb) / 1024;
}

BENCHMARK(BM_LongPlanToFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SoxMixSameSamples)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_LongPlanPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
