// From the Start click to the first samples handed to the audio output: the whole usul is
// rendered and written, opened under the media alias and its first block written to the
// output before the Start handler returns. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/start_bench
// With a sound server the first block goes to the device; without one the media layer
// keeps time on its clock and the figure is the same work less the device hand-over.
#include "bench/window_bench_support.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// args: slot, bpm, unit note
void BM_StartLooped(benchmark::State& state) {
    QTemporaryDir folder;
    zerkavi::bench::SilentMessages messages;
    zerkavi::ArayüzKalıp window(folder.path().toStdString(), messages, QSize(1280, 1024));
    if (!zerkavi::bench::loadAt(window, int(state.range(0)), int(state.range(1)),
                                int(state.range(2)))) {
        state.SkipWithError("start-up failed");
        return;
    }
    window.Option3->setChecked(true);
    bool onDevice = false;
    for (auto _ : state) {
        window.But_Baslat_Click();
        state.PauseTiming();
        onDevice = window.media.soundsOnDevice(QString::fromUtf8(zerkavi::kMediaAlias));
        window.But_dur_Click();
        state.ResumeTiming();
    }
    state.counters["fileMB"] = double(window.schedule.sampleCount()) * 2 / 1e6;
    state.counters["device"] = onDevice ? 1 : 0;
}

BENCHMARK(BM_StartLooped)
    ->Args({32, 150, 8})   // Düyek, 37 cycles, 10.4 MB
    ->Args({183, 177, 16}) // Darb-ı fetih, one cycle of 119 s, 10.5 MB
    ->Args({186, 250, 16}) // the longest usul, fast
    ->Args({186, 20, 4})   // the longest usul at the slowest tempo: 528 s, 46.6 MB
    ->Args({1, 250, 16})   // the shortest usul, many cycles
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::fflush(nullptr);
    std::_Exit(0);
}
