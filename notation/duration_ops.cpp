#include "notation/duration_ops.h"

#include "common/rounding.h"
#include "notation/glyphs.h"

namespace zerkavi {

namespace {

bool strokeAt(const UsulRecord& r, int k) {
    return k <= kCircles && r.circle(k).hasStroke();
}

} // namespace

bool expandLayout(const HalvingTable& table, UsulRecord& r) {
    const int c = MevcutHalka(r);
    // The widest spacing is never tried here: 62 is the last step the button takes.
    for (int k = 1; k <= kMaxSpacing - 1; ++k) {
        const int last = YeniHalka(table, r, k, c);
        if (last > kCircles) return false;
        if (last > c) {
            YeniDizilim(table, r, k, c);
            return true;
        }
    }
    return false;
}

bool compressLayout(const HalvingTable& table, UsulRecord& r) {
    const int c = MevcutHalka(r);
    for (int k = kMaxSpacing; k >= 1; --k) {
        if (YeniHalka(table, r, k, c) < c) {
            YeniDizilim(table, r, k, c);
            return true;
        }
    }
    return false;
}

void normaliseBarLines(UsulRecord& r, int n) {
    for (int i = 1; i <= n; ++i) {
        if (r.circle(i).barLine == 0 || strokeAt(r, i + 1)) continue;
        r.circle(i).barLine = 0;
        for (int m = i + 1; m <= n; ++m) {
            if (r.circle(m).hasStroke()) {
                r.circle(m - 1).barLine = 1;
                break;
            }
        }
    }
}

bool autoLayout(const HalvingTable& table, UsulRecord& r) {
    const int n = MevcutHalka(r);
    normaliseBarLines(r, n);
    // Strictly below 180, where expanding accepts 180 itself.
    for (int k = kMaxSpacing; k >= 1; --k) {
        if (YeniHalka(table, r, k, n) < kCircles) {
            YeniDizilim(table, r, k, n);
            return true;
        }
    }
    return false;
}

ScalingResult scaleDurations(UsulRecord& r, Scaling how) {
    const auto refuses = [how](int len) {
        if (how == Scaling::Double) return len == 64 || len == 96 || len == 112 || len * 2 > 255;
        return len == 2 || len == 3 || len == 7;
    };
    for (const Halka& h : r.circles)
        if (refuses(h.rightDuration) || refuses(h.leftDuration)) return ScalingResult::Refused;
    const auto scaled = [how](std::uint8_t len) {
        if (how == Scaling::Double) return std::uint8_t(len * 2);
        return std::uint8_t(roundHalfEven(len / 2.0));
    };
    for (Halka& h : r.circles) {
        h.rightDuration = scaled(h.rightDuration);
        h.leftDuration = scaled(h.leftDuration);
    }
    return ScalingResult::Scaled;
}

NoteChoice noteChoice(int index) {
    // Düm from the thirty-second up to the whole note, delete Düm, separator, delete Tek,
    // then Tek from the whole note down to the thirty-second.
    static constexpr int kLengths[kNoteChoices] = {2, 4,  8,  16, 32, 64, 0, -1,
                                                   0, 64, 32, 16, 8,  4,  2};
    if (index < 0 || index >= kNoteChoices || kLengths[index] < 0) return {};
    return NoteChoice{true, index < 7, kLengths[index]};
}

bool chooseNote(UsulRecord& r, int current, int index) {
    const NoteChoice choice = noteChoice(index);
    if (current < 1 || current > kCircles || !choice.valid) return false;
    Halka& h = r.circle(current);
    (choice.dum ? h.rightDuration : h.leftDuration) = std::uint8_t(choice.length64ths);
    h.level = 0;
    h.syllable = std::u32string(kSyllableChars, U' ');
    return true;
}

bool chooseSyllable(UsulRecord& r, int current, int index) {
    if (current < 1 || current > kCircles || index < 0 || index >= kSyllableChoices) return false;
    r.circle(current).syllable = fixedText(kSyllableCaptions[std::size_t(index)], kSyllableChars);
    return true;
}

void toggleBarLine(UsulRecord& r, int k) {
    std::uint8_t& bar = r.circle(k).barLine;
    bar = bar == 1 ? 0 : 1;
}

void cycleLevel(UsulRecord& r, int k) {
    std::uint8_t& level = r.circle(k).level;
    level = level >= 3 ? 0 : std::uint8_t(level + 1);
}

bool cycleDots(UsulRecord& r, int k, bool dum) {
    std::uint8_t& len = dum ? r.circle(k).rightDuration : r.circle(k).leftDuration;
    const int next = nextDotLength(len);
    if (next == len) return false;
    len = std::uint8_t(next);
    return true;
}

void clearCircles(UsulRecord& r) {
    for (Halka& h : r.circles) {
        h.rightDuration = 0;
        h.leftDuration = 0;
        h.level = 2;
        h.syllable = std::u32string(kSyllableChars, U' ');
        h.barLine = 0;
    }
}

PressAction pressAction(const PressHit& hit, bool primary) {
    switch (hit.kind) {
    case PressHit::Kind::Nothing:
        return PressAction::None;
    case PressHit::Kind::Gap:
        return PressAction::ToggleBarLine;
    case PressHit::Kind::Circle:
        break;
    }
    switch (hit.band) {
    case Band::Dum:
        return primary ? PressAction::CycleLevel : PressAction::CycleDumDots;
    case Band::Tek:
        return primary ? PressAction::CycleLevel : PressAction::CycleTekDots;
    case Band::Circle:
        return primary ? PressAction::OpenNoteMenu : PressAction::OpenSyllableMenu;
    case Band::None:
        break;
    }
    return PressAction::None;
}

void applyPress(UsulRecord& r, int k, PressAction action) {
    if (k < 1 || k > kCircles) return;
    switch (action) {
    case PressAction::ToggleBarLine:
        toggleBarLine(r, k);
        break;
    case PressAction::CycleLevel:
        cycleLevel(r, k);
        break;
    case PressAction::CycleDumDots:
        cycleDots(r, k, true);
        break;
    case PressAction::CycleTekDots:
        cycleDots(r, k, false);
        break;
    case PressAction::None:
    case PressAction::OpenNoteMenu:
    case PressAction::OpenSyllableMenu:
        break;
    }
}

} // namespace zerkavi
