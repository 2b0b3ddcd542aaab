// Practice aids: count-in, beat clicks with group accents, a muted hand, the speed trainer
// and tap tempo, on the real sample bank (renders of several cycles: tests/app).
#include "sound/practice.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

using namespace zerkavi;
using Samples = std::vector<std::int16_t>;

namespace {

class Practice : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new zerkavi::testing::TemporaryFolder;
        ASSERT_FALSE(prepareSampleBank(folder_->path(), 0.6f, 0.4f).fatal);
    }
    static void TearDownTestSuite() { delete folder_; }
    static UsulRender place(const UsulRecord& u, int bpm, int unit) {
        SampleReader reader;
        return placeUsul(u, {bpm, unit, "BENDR", false}, folder_->path(), reader);
    }
    static PracticeCycle cycle(const UsulRecord& u, const PracticeSettings& p, int bpm = 120) {
        SampleReader reader;
        return practiceCycle(u, {bpm, 8, "BENDR", false}, p, folder_->path(), reader);
    }
    static inline zerkavi::testing::TemporaryFolder* folder_ = nullptr;
};

using zerkavi::testing::builtIn;

struct GroupCase {
    const char* name;
    int slot, unit;
    std::string kinds; // one letter per click: C cycle, G group, B beat
    std::vector<int> at64ths;
    char change = ' '; // 'r': renamed; 'b': a bar line before the 4th stroke
};
class Groups : public Practice, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(Groups, ClicksFallOnUnitNotesAndGroupStarts) {
    const GroupCase& c = GetParam();
    UsulRecord u = builtIn(c.slot);
    if (c.change == 'r') u.name = fixedText(U"Aksak 2", kNameChars);
    for (int i = 1, k = 0; c.change == 'b' && i <= kCircles; ++i)
        if (u.circle(i).hasStroke() && ++k == 4) u.circle(i - 1).barLine = 1;
    const UsulRender r = place(u, 100, c.unit);
    std::string kinds;
    std::vector<std::int64_t> expected, samples;
    for (const Click& k : cycleClicks(u, r, c.unit)) {
        kinds += "BGC"[int(k.kind)];
        samples.push_back(k.sample);
    }
    for (int t : c.at64ths)
        expected.push_back(sampleOf64th(r, t));
    EXPECT_EQ(kinds, c.kinds);
    EXPECT_EQ(samples, expected);
    // A click on a stroke's 64th sounds exactly with the stroke.
    int at = 0;
    for (std::size_t k = 0; k < r.startSamples.size(); at += r.strokes[k++].length64ths)
        EXPECT_EQ(sampleOf64th(r, at), r.startSamples[k] - 1);
}

// Aksak, Ağır aksak and Devr-i hindî have no bar lines: their published groupings (2+2+2+3,
// 3+4 zaman) stand in, in the unit note of the usul; bar lines win; another name has none.
const std::vector<int> kEighths{0, 8, 16, 24, 32, 40, 48, 56, 64};
INSTANTIATE_TEST_SUITE_P(
    Usuls, Groups,
    ::testing::Values(
        GroupCase{"Aksak_2223", 38, 8, "CBGBGBGBB", kEighths},
        GroupCase{"Agir_aksak_4ths", 43, 4, "CBGBGBGBB", {0, 16, 32, 48, 64, 80, 96, 112, 128}},
        GroupCase{"Aksak_bar_lines_win_4_5", 38, 8, "CBBBGBBBB", kEighths, 'b'},
        GroupCase{"Aksak_renamed_first_beat_only", 38, 8, "CBBBBBBBB", kEighths, 'r'},
        GroupCase{"Curcuna_5_5", 58, 16, "CBBBBGBBBB", {0, 4, 8, 12, 16, 20, 24, 28, 32, 36}},
        GroupCase{"Curcuna_group_between_eighths", 58, 8, "CBBGBB", {0, 8, 16, 20, 24, 32}},
        GroupCase{"Devr_i_hindi_3_4", 24, 8, "CBBGBBB", {0, 8, 16, 24, 32, 40, 48}}),
    [](const auto& info) { return std::string(info.param.name); });

class CountIn : public Practice, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(CountIn, BeatsOfTheUnitNoteTheFirstHigher) {
    const auto [count, unit] = GetParam();
    const UsulRender r = place(builtIn(32), 90, unit);
    const Samples s = countInSound(r, unit, count, 80);
    const std::int64_t beat = std::int64_t(r.timing.samplesPer64th) * (64 / unit);
    ASSERT_EQ(std::int64_t(s.size()), beat * std::min(count, kMaxCountIn));
    for (int k = 0; k < std::min(count, kMaxCountIn); ++k) {
        const Samples want = clickSound(k == 0 ? ClickKind::Cycle : ClickKind::Beat, 80);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), s.begin() + k * beat)) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(CountsAndUnits, CountIn,
                         ::testing::Combine(::testing::Values(0, 1, 4, 8, 9),
                                            ::testing::Values(4, 8, 16)));

TEST(Click, PitchRisesFromBeatToGroupToCycleAndVolumeScales) {
    for (ClickKind k : {ClickKind::Beat, ClickKind::Group, ClickKind::Cycle}) {
        const Samples s = clickSound(k, 100), none = clickSound(k, 0);
        int crossings = 0;
        for (std::size_t i = 1; i < s.size(); ++i)
            crossings += (s[i - 1] < 0) != (s[i] < 0);
        EXPECT_NEAR(crossings, 2 * clickHz(k) * s.size() / 44100.0, 2);
        EXPECT_EQ(none, Samples(none.size(), 0));
    }
    EXPECT_LT(clickHz(ClickKind::Beat), clickHz(ClickKind::Group));
    EXPECT_LT(clickHz(ClickKind::Group), clickHz(ClickKind::Cycle));
}

TEST_F(Practice, AMutedHandSoundsAsIfItsStrokesWereNotThere) {
    // Both hands on every circle: taking one hand out of the record keeps the grid.
    UsulRecord both;
    for (int c : {1, 2, 3})
        both.circle(c) = Halka{16, 16, std::uint8_t(c)};
    for (Hand h : {Hand::Dum, Hand::Tek}) {
        UsulRecord without = both;
        for (Halka& c : without.circles)
            (h == Hand::Dum ? c.rightDuration : c.leftDuration) = 0;
        const PracticeCycle muted = cycle(both, {.mute = h});
        EXPECT_EQ(muted.samples, cycle(without, {}).samples);
        EXPECT_EQ(muted.strokeStarts, cycle(both, {}).strokeStarts);
        EXPECT_NE(muted.samples, cycle(both, {}).samples);
    }
    // Düyek has Düm and Tek on circles of their own: muting keeps every place.
    const PracticeCycle tekOnly = cycle(builtIn(32), {.mute = Hand::Dum});
    EXPECT_EQ(tekOnly.strokeStarts, cycle(builtIn(32), {}).strokeStarts);
    EXPECT_EQ(tekOnly.samples[0], 0); // circle 1 is a Düm
}

// The speed trainer as typed, start:step:every:final: its tempos cycle by cycle.
class Trainer : public ::testing::TestWithParam<std::pair<const char*, std::vector<int>>> {};

TEST_P(Trainer, StepsEveryMCyclesUpToTheFinalTempo) {
    const std::optional<SpeedTrainer> t = parseSpeedTrainer(GetParam().first);
    ASSERT_TRUE(t);
    std::vector<int> tempos;
    for (int k = 0; k < trainerCycles(*t); ++k)
        tempos.push_back(trainerBpm(*t, k));
    EXPECT_EQ(tempos, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Trainer,
                         ::testing::Values(std::pair{"80:+4:2:90",
                                                     std::vector{80, 80, 84, 84, 88, 88, 90, 90}},
                                           std::pair{"120:-10:1:100", std::vector{120, 110, 100}},
                                           std::pair{"100:0:3:100", std::vector{100, 100, 100}}));

TEST(Trainer, RefusesWhatCannotBePlayed) {
    // Too few or many numbers, a step away from the final tempo or of 0, every 0, a tempo
    // out of 20..250.
    for (const char* bad : {"80:4:2", "80:4:2:120:1", "80:4:2:x", "80:-4:2:120", "80:0:2:90",
                            "80:4:0:90", "19:4:1:90", "80:4:1:251", "80:4:2:120 "})
        EXPECT_FALSE(parseSpeedTrainer(bad)) << bad;
}

class Tap : public ::testing::TestWithParam<std::pair<std::vector<int>, int>> {};

TEST_P(Tap, AveragesTheLastTapsRoundedWithinLimits) {
    TapTempo t;
    for (int ms : GetParam().first)
        t.tap(ms);
    EXPECT_EQ(t.bpm().value_or(0), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Taps, Tap,
    ::testing::Values(std::pair{std::vector{0, 500, 1000}, 0}, // three taps are not enough
                      std::pair{std::vector{0, 500, 1000, 1500}, 120},
                      std::pair{std::vector{0, 533, 1066, 1600}, 112}, // 112.5: ties to even
                      std::pair{std::vector{0, 320, 640, 960}, 188},   // 187.5
                      std::pair{std::vector{0, 100, 200, 300}, 250},   // 600 kept at 250
                      std::pair{std::vector{0, 2500, 5000, 7500}, 24},
                      std::pair{std::vector{0, 500, 1000, 4000, 4500}, 0}, // a pause restarts
                      // only the last eight count: seven intervals of 400 ms
                      std::pair{std::vector{0, 1000, 1400, 1800, 2200, 2600, 3000, 3400, 3800},
                                150}));

} // namespace
