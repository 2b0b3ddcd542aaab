// Practice aids laid over the usul renderer: a count-in, a beat click that marks the usul's
// groups, one hand muted, a given number of cycles, a speed trainer's tempo steps and tap
// tempo. None of them changes what the renderer makes without them: they work on its
// placed strokes and on copies of its cycle.
//
// Clicks are our own short sine bursts. They are added to the drum with saturation rather
// than by the halving rule of the strokes, so the drum keeps its level under the click.
#pragma once

#include "sound/usul_render.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zerkavi {

inline constexpr int kMaxCountIn = 8;
inline constexpr int kMinBpm = 20;
inline constexpr int kMaxBpm = 250;

// Beat: every unit note; Group: where a group of the usul starts; Cycle: the cycle's first
// beat (and the first click of a count-in). Each sounds higher than the one before.
enum class ClickKind { Beat, Group, Cycle };

int clickHz(ClickKind kind);
// About 25 ms of sine at the kind's pitch with a soft attack and a quick decay; the peak is
// volumePercent (0..100) of a level that leaves room for the drum under it.
std::vector<std::int16_t> clickSound(ClickKind kind, int volumePercent);

struct Click {
    std::int64_t sample = 0; // 0-based, from the start of the cycle (or of the count-in)
    ClickKind kind = ClickKind::Beat;
    bool operator==(const Click&) const = default;
};

// Where the usul's groups start, in 64ths from the start of the cycle: 0, and the end of
// every circle carrying a bar line that falls inside the cycle. Bar lines stand where the
// smaller usuls of a compound one meet, so these are the places a player counts from.
// An usul whose bar lines mark no group takes the published grouping of the built-in usul
// of its name and zaman count (usul/groupings.h), in its own unit note; otherwise only 0.
std::vector<int> groupStarts64ths(const UsulRecord& usul);

// The 0-based sample at which the 64th `at64ths` of a cycle starts, on the grid the strokes
// are laid on (each stroke one sample later than the one before it, see placeUsul).
std::int64_t sampleOf64th(const UsulRender& r, int at64ths);

// The clicks of one cycle of `r`: one on every unit note, and one at every group start
// that falls between them; a group start is a Group click, the first a Cycle click.
std::vector<Click> cycleClicks(const UsulRecord& usul, const UsulRender& r, int unitNote);

// One unit note on the grid of `r`, in samples.
std::int64_t beatSamples(const UsulRender& r, int unitNote);
// `count` clicks, one a beat, the first higher.
std::vector<Click> countInClicks(int count, std::int64_t beatSamples);

// Adds the click sounds to `mix` (0-based sample `offset` of the stream being at mix[0]),
// saturating at the 16-bit limits; clicks are cut at either end of `mix`.
void layClicks(std::span<std::int16_t> mix, std::int64_t offset, std::span<const Click> clicks,
               int volumePercent);

// The strokes of `hand` leave the sound as if they were not in the usul; their places in
// the schedule and the timing of the others stay. A cycle already mixed is mixed again.
void muteHand(UsulRender& r, Hand hand);

// A speed trainer: cycles start at startBpm and move by stepBpm every everyCycles cycles
// until finalBpm, which is then played everyCycles cycles (or for ever, with keepFinal).
struct SpeedTrainer {
    int startBpm = 80;
    int stepBpm = 4;
    int everyCycles = 2;
    int finalBpm = 120;
    bool keepFinal = false;
};

// Tempos within 20..250, every at least 1, a step that is not 0 and leads from the start
// to the final tempo (any step when they are equal).
bool validTrainer(const SpeedTrainer& t);
// The tempo of cycle `cycle` (0-based); the last step stops at the final tempo.
int trainerBpm(const SpeedTrainer& t, int cycle);
// Cycles played before the trainer stops: every tempo everyCycles times.
int trainerCycles(const SpeedTrainer& t);

// "START:STEP:EVERY:FINAL" as whole numbers (STEP may carry a sign), or nothing when the
// text is not of that form or the trainer it describes is not valid.
std::optional<SpeedTrainer> parseSpeedTrainer(std::string_view text);

// Tap tempo: the time between the last taps, averaged, as beats per minute. A pause of
// more than kTapResetMs starts a new count.
class TapTempo {
  public:
    static constexpr int kMinTaps = 4;
    static constexpr int kKeptTaps = 8;
    static constexpr std::int64_t kTapResetMs = 2500;

    void tap(std::int64_t atMs);
    int taps() const { return int(times_.size()); }
    // round(60000 ÷ mean interval), ties to even, kept within 20..250; empty until
    // kMinTaps taps.
    std::optional<int> bpm() const;

  private:
    std::vector<std::int64_t> times_;
};

// Everything a practice rendering adds to the plain one.
struct PracticeSettings {
    int countIn = 0; // 0..8 clicks before the first cycle
    bool click = false;
    int clickVolume = 60; // 0..100 %
    std::optional<Hand> mute = std::nullopt;
};

// One cycle, mixed, with the practice aids that belong to a cycle (click, muted hand).
struct PracticeCycle {
    int bpm = 0;
    std::vector<std::int16_t> samples;
    std::vector<std::int64_t> strokeStarts; // 0-based sample of each stroke of the cycle
};

// Renders one cycle at `settings.bpm` with the click and muted hand of `practice`.
// Status and reader failures are as for placeUsul; `render` (optional) receives the plain
// rendering the cycle came from.
PracticeCycle practiceCycle(const UsulRecord& usul, const UsulRenderSettings& settings,
                            const PracticeSettings& practice,
                            const std::filesystem::path& soundFolder, SampleReader& reader,
                            UsulRender* render = nullptr);

// The count-in before a cycle of `first`'s tempo: `count` beats of unit notes, clicked.
std::vector<std::int16_t> countInSound(const UsulRender& first, int unitNote, int count,
                                       int volumePercent);

struct PracticeRender {
    UsulRenderStatus status = UsulRenderStatus::NoStrokes;
    std::vector<WavStatus> messages;
    std::vector<std::int16_t> samples;     // count-in, then every cycle
    std::vector<std::int64_t> cycleStarts; // 0-based sample where each cycle starts
    std::vector<int> tempos;               // the tempo of each cycle
};

// The count-in, then one cycle per entry of `tempos` at that tempo (the other settings
// from `settings`). Cycles of the same tempo are rendered once and copied.
PracticeRender renderPractice(const UsulRecord& usul, const UsulRenderSettings& settings,
                              const PracticeSettings& practice, std::span<const int> tempos,
                              const std::filesystem::path& soundFolder, SampleReader& reader);

} // namespace zerkavi
