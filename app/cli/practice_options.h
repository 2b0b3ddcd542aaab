// The practice options of `render`: a count-in, the beat click, one hand muted, a number of
// cycles and the speed trainer. Without any of them `render` writes what Start plays.
#pragma once

#include "app/cli/cli_texts.h"
#include "sound/practice.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zerkavi::cli {

inline constexpr int kMaxCycles = 999;

struct PracticeOptions {
    int countIn = 0;
    bool click = false;
    std::optional<Hand> mute;
    std::optional<int> cycles;
    std::optional<SpeedTrainer> trainer;

    bool any() const { return countIn > 0 || click || mute || cycles || trainer; }
};

inline constexpr const char* kPracticeUsage =
    "      [--count-in N]         N clicks (0..8) on the unit note before the usul\n"
    "      [--click]              a click on every unit note, higher where a group starts\n"
    "      [--mute dum|tek]       leave that hand's strokes out of the sound\n"
    "      [--cycles N]           N cycles (1..999) instead of once or --looped\n"
    "      [--speed-trainer START:STEP:EVERY:FINAL]  cycles from START, STEP faster (or\n"
    "                             slower) every EVERY cycles, FINAL played EVERY cycles\n"
    "                             (all of them --cycles N long with --cycles)\n";

// When args[i] is --count-in, --click, --mute or --speed-trainer, takes it and its value (i
// then stands on the value) and returns true; `error` says what is wrong with the value.
// --cycles is read by the options parser, which shares it with export.
bool takePracticeOption(const std::vector<std::string>& args, std::size_t& i, PracticeOptions& p,
                        std::optional<CliText>& error);
// What makes no sense together, if anything.
std::optional<CliText> practiceConflict(const PracticeOptions& p, bool looped, bool schedule,
                                        bool bpmGiven);
// The tempo of every cycle to render.
std::vector<int> practiceTempos(const PracticeOptions& p, int bpm);

} // namespace zerkavi::cli
