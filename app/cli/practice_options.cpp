#include "app/cli/practice_options.h"

#include <charconv>

namespace zerkavi::cli {

namespace {

std::optional<int> wholeNumber(std::string_view s) {
    int v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

} // namespace

bool takePracticeOption(std::span<const std::string_view> args, std::size_t& i, PracticeOptions& p,
                        std::string& error) {
    const std::string_view a = args[i];
    if (a == "--click") {
        p.click = true;
        return true;
    }
    if (a != "--count-in" && a != "--mute" && a != "--cycles" && a != "--speed-trainer")
        return false;
    if (i + 1 >= args.size()) {
        error = std::string(a) + " needs a value";
        return true;
    }
    const std::string_view v = args[++i];
    const std::optional<int> n = wholeNumber(v);
    if (a == "--count-in") {
        if (n && *n >= 0 && *n <= kMaxCountIn)
            p.countIn = *n;
        else
            error = "--count-in takes 0..8";
    } else if (a == "--cycles") {
        if (n && *n >= 1 && *n <= kMaxCycles)
            p.cycles = *n;
        else
            error = "--cycles takes 1..999";
    } else if (a == "--mute") {
        if (v == "dum" || v == "tek")
            p.mute = v == "dum" ? Hand::Dum : Hand::Tek;
        else
            error = "--mute takes dum or tek";
    } else if (!(p.trainer = parseSpeedTrainer(v))) {
        error = "--speed-trainer takes START:STEP:EVERY:FINAL, tempos 20..250, EVERY at least 1 "
                "and a STEP that leads from START to FINAL";
    }
    return true;
}

std::string practiceConflict(const PracticeOptions& p, bool looped, bool schedule, bool bpmGiven) {
    if (looped && (p.cycles || p.trainer))
        return "--looped goes with neither --cycles nor --speed-trainer";
    if (schedule && p.any()) return "--schedule goes with the plain render only";
    if (bpmGiven && p.trainer) return "--speed-trainer sets the tempo; leave out --bpm";
    return {};
}

std::vector<int> practiceTempos(const PracticeOptions& p, int bpm) {
    std::vector<int> tempos;
    if (p.trainer) {
        const int n = p.cycles.value_or(trainerCycles(*p.trainer));
        for (int k = 0; k < n; ++k)
            tempos.push_back(trainerBpm(*p.trainer, k));
    } else {
        tempos.assign(std::size_t(p.cycles.value_or(1)), bpm);
    }
    return tempos;
}

} // namespace zerkavi::cli
