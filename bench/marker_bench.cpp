// The marker against the sound heard: Düyek at 120 to the quarter on the kudüm is started
// from the window through a private PulseAudio server with a null sink whose monitor is
// recorded, while 0 or 3 threads spin on the CPU; the window's own thread is optionally
// blocked for 200 ms in the middle of the usul. Reported per run, over all its strokes:
//   marker_median / marker_worst  when the stroke was heard minus when the marker stepped
//                                 onto it (ms; negative: the marker came late)
//   spacing_worst                 the stroke heard furthest from its rendered time (ms);
//                                 a stall of the sound shows here
// Run by hand (needs pulseaudio, pactl and parec):
//   QT_QPA_PLATFORM=offscreen build/bench/marker_bench
#include "bench/sound_bench_support.h"
#include "bench/window_bench_support.h"

#include <benchmark/benchmark.h>

#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <vector>

namespace {

using namespace zerkavi::testing;
using zerkavi::bench::BusyLoops;
using zerkavi::bench::Figures;
using zerkavi::bench::figuresOf;
using zerkavi::bench::server;

// Strokes found in a recording against the rendered stroke times (ms from the first stroke):
// stroke k is the onset nearest to its rendered time counted from the first onset heard.
struct StrokeMatch {
    std::size_t onsetsFound = 0;
    std::vector<qsizetype> heard;        // the onset of each stroke
    std::vector<double> spacingErrorsMs; // heard minus rendered, less the median of them
};

StrokeMatch matchStrokes(const Recorder& r, const std::vector<double>& renderedMs) {
    StrokeMatch m;
    const std::vector<qsizetype> onsets = strokeOnsets(r);
    m.onsetsFound = onsets.size();
    if (onsets.empty() || renderedMs.empty()) return m;
    auto offMs = [&](qsizetype onset, double rendered) {
        return (onset - onsets.front()) / kSamplesPerMs - rendered;
    };
    for (const double rendered : renderedMs)
        m.heard.push_back(*std::min_element(onsets.begin(), onsets.end(), [&](auto a, auto b) {
            return std::abs(offMs(a, rendered)) < std::abs(offMs(b, rendered));
        }));
    for (std::size_t k = 0; k < renderedMs.size(); ++k)
        m.spacingErrorsMs.push_back(offMs(m.heard[k], renderedMs[k]));
    std::vector<double> sorted = m.spacingErrorsMs;
    std::sort(sorted.begin(), sorted.end());
    const double median = (sorted[(sorted.size() - 1) / 2] + sorted[sorted.size() / 2]) / 2;
    for (double& e : m.spacingErrorsMs)
        e -= median;
    return m;
}

// args: busy loops, block the window's thread (0/1)
void BM_MarkerAgainstSound(benchmark::State& state) {
    QTemporaryDir folder;
    zerkavi::bench::SilentMessages messages;
    zerkavi::ArayüzKalıp window(folder.path().toStdString(), messages, QSize(1280, 1024));
    if (!zerkavi::bench::loadAt(window, 32, 120, 4)) {
        state.SkipWithError("start-up failed");
        return;
    }
    window.Option1[1]->setChecked(true);

    std::vector<double> offsets, spacing;
    std::size_t missing = 0;
    for (auto _ : state) {
        Recorder recorder(server->environment());
        if (!recorder.startHeard()) {
            state.SkipWithError("the monitor of the null sink delivered nothing");
            return;
        }
        std::vector<std::pair<int, double>> steps;
        window.markerMoved = [&](int stroke) { steps.push_back({stroke, recorder.nowMs()}); };
        BusyLoops busy(int(state.range(0)));
        window.But_Baslat_Click();
        if (!window.media.soundsOnDevice(QStringLiteral("kivo"))) {
            state.SkipWithError("no sound device: the media layer runs on its clock");
            return;
        }
        if (state.range(1)) QTimer::singleShot(900, [] { QThread::msleep(200); });
        runFor(int(window.schedule.playLengthMs) + 400);
        recorder.stop();
        std::vector<double> rendered;
        for (int k = 1; k <= window.schedule.strokeCount(); ++k)
            rendered.push_back((window.schedule.startSamples[std::size_t(k - 1)] - 1) /
                               kSamplesPerMs);
        const StrokeMatch m = matchStrokes(recorder, rendered);
        if (m.onsetsFound < rendered.size()) ++missing;
        for (const auto& [stroke, at] : steps)
            if (stroke >= 1 && std::size_t(stroke) <= m.heard.size())
                offsets.push_back(recorder.heardAt(m.heard[std::size_t(stroke - 1)]) - at);
        spacing.insert(spacing.end(), m.spacingErrorsMs.begin(), m.spacingErrorsMs.end());
    }
    const Figures f = figuresOf(offsets), s = figuresOf(spacing);
    state.counters["marker_median"] = f.median;
    state.counters["marker_worst"] = f.worst;
    state.counters["spacing_worst"] = s.worst;
    state.counters["runs_missing_strokes"] = double(missing);
}

BENCHMARK(BM_MarkerAgainstSound)
    ->Args({0, 0})
    ->Args({3, 0})
    ->Args({0, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return zerkavi::bench::runWithPrivateServer(argc, argv);
}
