#include "sound/practice.h"

#include "common/rounding.h"
#include "usul/groupings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>

namespace zerkavi {

namespace {

constexpr int kClickSamples = kSampleRate * 25 / 1000;
constexpr int kClickAttackSamples = kSampleRate / 1000; // 1 ms: no crack at the onset
constexpr double kClickDecaySamples = kSampleRate * 0.006;
// Full volume stays well under the 16-bit limit so that a click over a loud stroke seldom
// saturates.
constexpr double kClickPeak = 14000;

std::int16_t saturate(int v) {
    return std::int16_t(std::clamp(v, int(std::numeric_limits<std::int16_t>::min()),
                                   int(std::numeric_limits<std::int16_t>::max())));
}

// The 64th at which each stroke of a cycle starts, by the lengths the total counts.
std::vector<int> strokeStarts64ths(const UsulRender& r) {
    std::vector<int> starts;
    int at = 0;
    for (std::size_t k = 0; k < r.startSamples.size(); ++k) {
        starts.push_back(at);
        at += r.strokes[k].length64ths;
    }
    return starts;
}

} // namespace

int clickHz(ClickKind kind) {
    switch (kind) {
    case ClickKind::Beat:
        return 1000;
    case ClickKind::Group:
        return 1500;
    case ClickKind::Cycle:
        return 2000;
    }
    return 1000;
}

std::vector<std::int16_t> clickSound(ClickKind kind, int volumePercent) {
    std::vector<std::int16_t> out(kClickSamples);
    const double peak = kClickPeak * std::clamp(volumePercent, 0, 100) / 100.0;
    const double w = 2 * std::numbers::pi * clickHz(kind) / kSampleRate;
    for (int i = 0; i < kClickSamples; ++i) {
        const double attack = std::min(1.0, double(i) / kClickAttackSamples);
        const double env = attack * std::exp(-i / kClickDecaySamples);
        out[std::size_t(i)] = std::int16_t(roundHalfEven(peak * env * std::sin(w * i)));
    }
    return out;
}

std::vector<int> groupStarts64ths(const UsulRecord& usul) {
    int total = 0;
    for (int i = 1; i <= kCircles; ++i)
        total += usul.circle(i).strokeLength();
    std::vector<int> starts{0};
    int at = 0;
    for (int i = 1; i <= kCircles; ++i) {
        at += usul.circle(i).strokeLength();
        if (usul.circle(i).barLine != 0 && at > starts.back() && at < total) starts.push_back(at);
    }
    // Without bar lines, a built-in usul of the same name is counted as it is published.
    if (starts.size() > 1 || usul.mertebe == 0 || 64 % usul.mertebe != 0) return starts;
    at = 0;
    for (int zaman : knownGrouping(usul)) {
        at += zaman * (64 / usul.mertebe);
        if (at < total) starts.push_back(at);
    }
    return starts;
}

std::int64_t sampleOf64th(const UsulRender& r, int at64ths) {
    const std::vector<int> starts = strokeStarts64ths(r);
    // From the last stroke that starts at or before it, on the plain grid.
    std::size_t k = 0;
    while (k + 1 < starts.size() && starts[k + 1] <= at64ths)
        ++k;
    if (starts.empty()) return std::int64_t(at64ths) * r.timing.samplesPer64th;
    return std::int64_t(r.startSamples[k] - 1) +
           std::int64_t(at64ths - starts[k]) * r.timing.samplesPer64th;
}

std::vector<Click> cycleClicks(const UsulRecord& usul, const UsulRender& r, int unitNote) {
    std::map<int, ClickKind> at;
    const int beat = std::max(1, 64 / unitNote);
    for (int t = 0; t < r.timing.totalLength64ths; t += beat)
        at[t] = ClickKind::Beat;
    for (int g : groupStarts64ths(usul))
        at[g] = ClickKind::Group;
    at[0] = ClickKind::Cycle;
    std::vector<Click> clicks;
    for (const auto& [t, kind] : at) {
        const std::int64_t s = sampleOf64th(r, t);
        if (s < r.timing.cycleSamples) clicks.push_back({s, kind});
    }
    return clicks;
}

std::int64_t beatSamples(const UsulRender& r, int unitNote) {
    return std::int64_t(r.timing.samplesPer64th) * std::max(1, 64 / unitNote);
}

std::vector<Click> countInClicks(int count, std::int64_t beatSamples) {
    std::vector<Click> clicks;
    for (int k = 0; k < std::clamp(count, 0, kMaxCountIn); ++k)
        clicks.push_back({k * beatSamples, k == 0 ? ClickKind::Cycle : ClickKind::Beat});
    return clicks;
}

void layClicks(std::span<std::int16_t> mix, std::int64_t offset, std::span<const Click> clicks,
               int volumePercent) {
    std::array<std::vector<std::int16_t>, 3> sounds;
    for (int k = 0; k < 3; ++k)
        sounds[std::size_t(k)] = clickSound(ClickKind(k), volumePercent);
    const auto size = std::int64_t(mix.size());
    for (const Click& c : clicks) {
        const std::vector<std::int16_t>& s = sounds[std::size_t(c.kind)];
        const std::int64_t from = c.sample - offset;
        for (std::int64_t j = std::max<std::int64_t>(0, -from);
             j < std::int64_t(s.size()) && from + j < size; ++j) {
            std::int16_t& m = mix[std::size_t(from + j)];
            m = saturate(int(m) + s[std::size_t(j)]);
        }
    }
}

void muteHand(UsulRender& r, Hand hand) {
    std::erase_if(r.placed, [hand](const PlacedStroke& s) { return s.hand == hand; });
    if (r.usulMix.empty()) return;
    std::fill(r.usulMix.begin(), r.usulMix.end(), std::int16_t(0));
    mixUsul(r, 0, r.usulMix);
}

bool validTrainer(const SpeedTrainer& t) {
    auto inRange = [](int bpm) { return bpm >= kMinBpm && bpm <= kMaxBpm; };
    if (!inRange(t.startBpm) || !inRange(t.finalBpm) || t.everyCycles < 1) return false;
    if (t.startBpm == t.finalBpm) return true;
    return t.stepBpm != 0 && (t.stepBpm > 0) == (t.finalBpm > t.startBpm);
}

int trainerBpm(const SpeedTrainer& t, int cycle) {
    if (t.startBpm == t.finalBpm) return t.startBpm;
    const int bpm = t.startBpm + t.stepBpm * (cycle / std::max(1, t.everyCycles));
    return t.stepBpm > 0 ? std::min(bpm, t.finalBpm) : std::max(bpm, t.finalBpm);
}

int trainerCycles(const SpeedTrainer& t) {
    const int distance = std::abs(t.finalBpm - t.startBpm);
    const int step = std::max(1, std::abs(t.stepBpm));
    const int steps = (distance + step - 1) / step;
    return (steps + 1) * std::max(1, t.everyCycles);
}

std::optional<SpeedTrainer> parseSpeedTrainer(std::string_view text) {
    int v[4] = {};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int k = 0; k < 4; ++k) {
        if (k > 0 && (p == end || *p++ != ':')) return std::nullopt;
        if (p != end && *p == '+') ++p; // "+4" reads as a step up
        const auto [next, ec] = std::from_chars(p, end, v[k]);
        if (ec != std::errc()) return std::nullopt;
        p = next;
    }
    const SpeedTrainer t{v[0], v[1], v[2], v[3], false};
    if (p != end || !validTrainer(t)) return std::nullopt;
    return t;
}

void TapTempo::tap(std::int64_t atMs) {
    if (!times_.empty() && (atMs - times_.back() > kTapResetMs || atMs <= times_.back()))
        times_.clear();
    times_.push_back(atMs);
    if (times_.size() > std::size_t(kKeptTaps)) times_.erase(times_.begin());
}

std::optional<int> TapTempo::bpm() const {
    if (taps() < kMinTaps) return std::nullopt;
    const double meanMs = double(times_.back() - times_.front()) / double(times_.size() - 1);
    return std::clamp(int(roundHalfEven(60000.0 / meanMs)), kMinBpm, kMaxBpm);
}

PracticeCycle practiceCycle(const UsulRecord& usul, const UsulRenderSettings& settings,
                            const PracticeSettings& practice,
                            const std::filesystem::path& soundFolder, SampleReader& reader,
                            UsulRender* render) {
    UsulRenderSettings once = settings;
    once.looped = false;
    UsulRender r = placeUsul(usul, once, soundFolder, reader);
    PracticeCycle c;
    c.bpm = settings.bpm;
    if (r.status == UsulRenderStatus::Ok) {
        if (practice.mute) muteHand(r, *practice.mute);
        c.samples.assign(std::size_t(r.timing.cycleSamples), 0);
        mixUsul(r, 0, c.samples);
        if (practice.click) {
            const std::vector<Click> clicks = cycleClicks(usul, r, settings.unitNote);
            layClicks(c.samples, 0, clicks, practice.clickVolume);
        }
        for (std::int32_t s : r.startSamples)
            c.strokeStarts.push_back(s - 1);
    }
    if (render) *render = std::move(r);
    return c;
}

std::vector<std::int16_t> countInSound(const UsulRender& first, int unitNote, int count,
                                       int volumePercent) {
    const std::int64_t beat = beatSamples(first, unitNote);
    const std::vector<Click> clicks = countInClicks(count, beat);
    std::vector<std::int16_t> out(std::size_t(beat * std::int64_t(clicks.size())), 0);
    layClicks(out, 0, clicks, volumePercent);
    return out;
}

PracticeRender renderPractice(const UsulRecord& usul, const UsulRenderSettings& settings,
                              const PracticeSettings& practice, std::span<const int> tempos,
                              const std::filesystem::path& soundFolder, SampleReader& reader) {
    PracticeRender out;
    if (tempos.empty()) {
        out.status = UsulRenderStatus::BadTempo;
        return out;
    }
    std::map<int, PracticeCycle> byTempo;
    for (int bpm : tempos) {
        if (byTempo.contains(bpm)) continue;
        UsulRenderSettings s = settings;
        s.bpm = bpm;
        UsulRender r;
        PracticeCycle c = practiceCycle(usul, s, practice, soundFolder, reader, &r);
        out.messages.insert(out.messages.end(), r.messages.begin(), r.messages.end());
        if (r.status != UsulRenderStatus::Ok) {
            out.status = r.status;
            return out;
        }
        if (byTempo.empty())
            out.samples =
                countInSound(r, settings.unitNote, practice.countIn, practice.clickVolume);
        byTempo.emplace(bpm, std::move(c));
    }
    out.status = UsulRenderStatus::Ok;
    for (int bpm : tempos) {
        const std::vector<std::int16_t>& cycle = byTempo.at(bpm).samples;
        out.cycleStarts.push_back(std::int64_t(out.samples.size()));
        out.tempos.push_back(bpm);
        out.samples.insert(out.samples.end(), cycle.begin(), cycle.end());
    }
    return out;
}

} // namespace zerkavi
