// How soon a tempo change made while Endless or Looped plays is heard. Düyek (strokes 2, 4, 2,
// 4, 4 sixteenths apart) on the kudüm is started from the window through a private PulseAudio
// server whose null sink is recorded; the tempo bar is moved at a moment that varies from
// run to run against the strokes, while 0 or 2 threads spin on the CPU. In the recording the
// change shows as the first stroke S from which the spacing is the new one. Per run:
//   lead      when the stroke before S was heard, minus when the change was made (ms): the
//             old tempo still started a stroke this long after the change. A change is heard
//             within lead + one stroke, so "within 50 ms plus one stroke" means lead <= 50;
//             its largest value over the runs approaches what the output holds ahead.
//   heard_min the least time from a change to S: what the output holds ahead is less.
//   misses    intervals that fit neither tempo (a gap or a lost stroke), all runs together
// Args: the output's buffer (ms), busy threads, tempo before and after (to the eighth), and
// Endless (0) or Start's looped file handed over to a stream at the change (1).
// Run by hand (needs pulseaudio, pactl and parec):
//   build/bench/tempo_change_bench
#include "bench/sound_bench_support.h"
#include "bench/window_bench_support.h"
#include "window/practice_menu.h"

#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

namespace {

using namespace zerkavi;
using namespace zerkavi::testing;

void BM_TempoChangeHeard(benchmark::State& state) {
    QTemporaryDir folder;
    bench::SilentMessages messages;
    ArayüzKalıp window(folder.path().toStdString(), messages, QSize(1280, 1024));
    const int before = int(state.range(2)), after = int(state.range(3));
    if (!bench::loadAt(window, 32, before, 8)) {
        state.SkipWithError("start-up failed");
        return;
    }
    window.Option1[1]->setChecked(true);
    (state.range(4) ? window.Option3 : window.practice->Option5)->setChecked(true);
    window.practice->bufferMs = int(state.range(0));
    const int sixteenths[] = {2, 4, 2, 4, 4};
    std::vector<double> leads, heard;
    int misses = 0, run = 0;
    for (auto _ : state) {
        Recorder recorder(bench::server->environment());
        if (!recorder.startHeard()) {
            state.SkipWithError("the monitor of the null sink delivered nothing");
            return;
        }
        bench::BusyLoops busy(int(state.range(1)));
        window.VScroll1->setValue(kTempoBarSum - before);
        window.But_Baslat_Click();
        runFor(2000 + (run++ * 137) % 600);
        const double changedAt = recorder.nowMs();
        window.VScroll1->setValue(kTempoBarSum - after);
        if (!window.practice->player.onDevice()) {
            state.SkipWithError("no sound device: the stream runs on its clock");
            return;
        }
        runFor(3000);
        window.But_dur_Click();
        runFor(100);
        recorder.stop();

        const std::vector<qsizetype> on = strokeOnsets(recorder);
        auto gap = [&](std::size_t k) { return (on[k] - on[k - 1]) / kSamplesPerMs; };
        auto fits = [&](std::size_t k, int bpm, int phase) {
            return std::abs(gap(k) - 30000.0 / bpm * sixteenths[(k - 1 + phase) % 5]) < 10;
        };
        int phase = 0;
        while (phase < 5 && !(on.size() > 3 && fits(1, before, phase) && fits(2, before, phase)))
            ++phase;
        if (phase == 5) {
            ++misses;
            continue;
        }
        std::size_t k = 1;
        while (k < on.size() && fits(k, before, phase))
            ++k;
        if (k < 2 || k >= on.size()) {
            ++misses;
            continue;
        }
        leads.push_back(recorder.heardAt(on[k - 2]) - changedAt);
        heard.push_back(recorder.heardAt(on[k - 1]) - changedAt);
        for (; k < on.size(); ++k)
            if (!fits(k, after, phase)) ++misses;
    }
    const bench::Figures f = bench::figuresOf(leads);
    state.counters["lead_median"] = f.median;
    state.counters["lead_max"] = f.highest;
    state.counters["heard_min"] = bench::figuresOf(heard).lowest;
    state.counters["misses"] = misses;
}

BENCHMARK(BM_TempoChangeHeard)
    ->ArgNames({"buffer", "busy", "from", "to", "looped"})
    ->ArgsProduct({{20, 40, 60}, {0, 2}, {240}, {160}, {0}})
    ->Args({40, 0, 120, 200, 0})
    ->ArgsProduct({{40}, {0, 2}, {240}, {160}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);

} // namespace

int main(int argc, char** argv) {
    return bench::runWithPrivateServer(argc, argv);
}
