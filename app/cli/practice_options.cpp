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

bool takePracticeOption(const std::vector<std::string>& args, std::size_t& i, PracticeOptions& p,
                        std::optional<CliText>& error) {
    const std::string_view a = args[i];
    if (a == "--click") {
        p.click = true;
        return true;
    }
    if (a != "--count-in" && a != "--mute" && a != "--speed-trainer") return false;
    if (i + 1 >= args.size()) {
        error = CliText::needsValue;
        return true;
    }
    const std::string_view v = args[++i];
    const std::optional<int> n = wholeNumber(v);
    if (a == "--count-in") {
        if (n && *n >= 0 && *n <= kMaxCountIn)
            p.countIn = *n;
        else
            error = CliText::countInValues;
    } else if (a == "--mute") {
        if (v == "dum" || v == "tek")
            p.mute = v == "dum" ? Hand::Dum : Hand::Tek;
        else
            error = CliText::muteValues;
    } else if (!(p.trainer = parseSpeedTrainer(v))) {
        error = CliText::trainerValues;
    }
    return true;
}

std::optional<CliText> practiceConflict(const PracticeOptions& p, bool looped, bool schedule,
                                        bool bpmGiven) {
    if (looped && (p.cycles || p.trainer)) return CliText::loopedWithPractice;
    if (schedule && p.any()) return CliText::scheduleWithPractice;
    if (bpmGiven && p.trainer) return CliText::trainerWithBpm;
    return std::nullopt;
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
