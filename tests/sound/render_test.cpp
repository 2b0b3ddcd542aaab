// The two renderers: timing, the mixing rule, stroke placement, the schedule, looped mode and
// "Shablon.---"; passages with tempo ramps and repetitions through "Pasaj.dat". The sound
// folder holds one-sample strokes made here, a different value per file.
#include "common/rounding.h"
#include "sound/pasaj_render.h"
#include "sound/usul_render.h"
#include "sound/wav.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace zerkavi;
using zerkavi::testing::Bytes;
using zerkavi::testing::matchesGolden;
using zerkavi::testing::readBytes;
namespace fs = std::filesystem;

namespace {

using Samples = std::vector<std::int16_t>;

class SoundFolder : public zerkavi::testing::TemporaryFolder {
  public:
    SoundFolder() {
        const std::pair<const char*, std::int16_t> bank[] = {
            {"BENDRD31.---", 20000}, {"BENDRD21.---", 12000}, {"BENDRD11.---", 8000},
            {"BENDRT61.---", 20000}, {"BENDRT51.---", 16000}, {"BENDRT41.---", 4000}};
        for (const auto& [name, v] : bank)
            write(name, {v});
    }
    void write(const std::string& name, const Samples& s) const {
        const WavHeader h = BuildWavHeader(std::uint32_t(s.size()), 1, 44100, 16);
        ASSERT_TRUE(writeWavFile(path() / name, h, s));
    }
};

Halka dum(int length, int level = 3) {
    return {.rightDuration = std::uint8_t(length), .level = std::uint8_t(level)};
}
Halka tek(int length, int level = 3) {
    return {.leftDuration = std::uint8_t(length), .level = std::uint8_t(level)};
}

// Circles 1, 2, … with totalLength stored as their sum.
UsulRecord usulOf(std::initializer_list<Halka> circles) {
    UsulRecord r;
    int i = 1;
    for (const Halka& h : circles)
        r.circle(i++) = h;
    r.totalLength = std::int16_t(sumOfStrokes(r));
    return r;
}

UsulRenderSettings at(int bpm, int unitNote, bool looped = false) {
    return {.bpm = bpm, .unitNote = unitNote, .instrumentCode = "BENDR", .looped = looped};
}

PassageRequest stretch(int first, int last, int unit, int intro, int final, int repeat = 1) {
    return {first, last, repeat, unit, intro, final, "BENDR"};
}

// 0-based indices of the samples that sound.
std::vector<std::size_t> soundingAt(const Samples& mix) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < mix.size(); ++i)
        if (mix[i] != 0) at.push_back(i);
    return at;
}

} // namespace

TEST(UsulTiming, WorkedNumbers) {
    const UsulTiming t = usulTiming(64, 120, 4);
    EXPECT_EQ(t.cycleMs, 2000);
    EXPECT_EQ(t.cycleSamples, 88200);
    EXPECT_EQ(t.samplesPer64th, 1378); // 1378.125
    EXPECT_EQ(t.msPer64th, 31.25f);
    // 62.5 ms → 62 (ties to even); N = 2734.2 → 2734; 683.5 samples per 64th → 684.
    const UsulTiming tie = usulTiming(4, 240, 4);
    EXPECT_EQ(std::vector<int>({tie.cycleMs, tie.cycleSamples, tie.samplesPer64th}),
              (std::vector<int>{62, 2734, 684}));
    // 7 64ths at 120: 218.75 → 219 ms, and 219 ÷ 7 kept in single precision.
    EXPECT_EQ(usulTiming(7, 120, 4).msPer64th, float(219.0 / 7));
}

TEST(UsulRender, MixingRuleRoundsHalfToEven) {
    // Every stroke value over a spread of values under it, against the rule in floating
    // point: round(s ÷ 2 + m ÷ 2) and round((s ÷ 2 + m) ÷ 2).
    const int under[] = {-32768, -32767, -20001, -3, -2, -1, 0, 1, 2, 3, 12345, 32766, 32767};
    std::size_t wrong = 0;
    for (int m : under)
        for (int s = -32768; s <= 32767; ++s) {
            wrong += mixDum(std::int16_t(s), std::int16_t(m)) != roundHalfEven(s / 2.0 + m / 2.0);
            wrong += mixTek(std::int16_t(s), std::int16_t(m)) != roundHalfEven((s / 2.0 + m) / 2.0);
        }
    EXPECT_EQ(wrong, 0u);
}

// One cycle through every level of both hands, a circle holding both hands and strokes of
// uneven lengths: where each one-sample stroke lands and at what value, byte for byte. At 240
// to the quarter, 85 64ths are 58,565 samples, 689 a 64th; each stroke lands one sample later
// than the one before on that grid. On circle 9 the Tek sounds over the Düm (10000), the
// Düm's 16 counts for the cycle and the Tek's 8 for where the next stroke starts.
TEST(UsulRenderGolden, EveryLevelOfBothHandsInOneCycle) {
    SoundFolder dir;
    SampleReader reader;
    Halka both = dum(16);
    both.leftDuration = 8;
    const UsulRecord u = usulOf({dum(16, 0), dum(8, 3), dum(4, 2), dum(2, 1), tek(16, 0), tek(7, 3),
                                 tek(3, 2), tek(1, 1), both, tek(12)});
    bool written = false;
    const UsulRender r = renderUsulToFile(u, at(240, 4), dir.path(), reader, &written);
    ASSERT_TRUE(written);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.startSamples.front(), 1);
    // The reader is left holding the last file read.
    EXPECT_EQ(reader.sampleBuffer, (Samples{20000}));
    const Bytes file = readBytes<std::uint8_t>(dir.path() / "Shablon.---");
    EXPECT_DOUBLE_EQ(r.playLengthMs, double(file.size() - 44) / 88.2);
    EXPECT_TRUE(matchesGolden("usul-cycle.wav", std::string(file.begin(), file.end())));

    // Circle 45 ends row 1, 46 starts row 2, 180 ends row 4.
    UsulRecord places;
    for (int k : {1, 45, 46, 180})
        places.circle(k) = dum(4);
    std::vector<int> xRow;
    for (const ScheduledStroke& s : strokeList(places))
        xRow.insert(xRow.end(), {s.x, s.row});
    EXPECT_EQ(xRow, (std::vector<int>{40, 1, 920, 1, 40, 2, 920, 4}));
}

TEST(UsulRender, StrokeEndsRoundEachFromThePreviousRoundedEnd) {
    // 2 × 31.25 = 62.5 → 62, 124.5 → 124, 186.5 → 186 …: 32 strokes end at 1984, not 2000.
    std::vector<ScheduledStroke> s(32);
    for (auto& x : s)
        x.length64ths = 2;
    setStrokeEnds(s, 31.25f);
    EXPECT_EQ(std::vector<int>({s[0].endMs, s[1].endMs, s[2].endMs, s[31].endMs}),
              (std::vector<int>{62, 124, 186, 1984}));
}

TEST(UsulRender, LoopedModeFillsAboutTwoMinutes) {
    SoundFolder dir;
    SampleReader reader;
    const UsulRecord u = usulOf({dum(16), dum(16), tek(16), tek(16)});
    bool written = false;
    const UsulRender r = renderUsulToFile(u, at(120, 4, true), dir.path(), reader, &written);
    ASSERT_TRUE(written);
    ASSERT_EQ(r.strokeCount(), 240);
    EXPECT_EQ(std::vector<int>({r.cycles, r.stroke(5).endMs, r.stroke(240).endMs}),
              (std::vector<int>{60, 2500, 120000}));
    EXPECT_EQ(r.stroke(5).x, r.stroke(1).x);
    // The file is the header for 60 cycles, then the cycle of the in-memory rendering 60 times.
    const Bytes file = readBytes<std::uint8_t>(dir.path() / "Shablon.---");
    ASSERT_EQ(file.size(), 44u + 60u * 176400u);
    EXPECT_EQ(file, usulFileImage(renderUsul(u, at(120, 4, true), dir.path(), reader)));
    // Once: the file is replaced by one cycle.
    renderUsulToFile(u, at(120, 4, false), dir.path(), reader, &written);
    EXPECT_EQ(fs::file_size(dir.path() / "Shablon.---"), 44u + 176400u);
    // r = floor(120000 ÷ round(N ÷ 44.1)); a cycle over 60 s is written once.
    EXPECT_EQ(
        std::vector<int>({loopedCycles(2646000), loopedCycles(2646045), loopedCycles(5336100)}),
        (std::vector<int>{2, 1, 1})); // 60,000 ms, 60,001 ms, 121,000 ms
}

TEST(UsulRender, AOneCycleFileWrittenAStretchAtATimeIsTheWholeMix) {
    SoundFolder dir;
    // Strokes longer than a written stretch (32,768 samples), overlapping each other and
    // crossing stretch boundaries.
    Samples ramp(70000);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = std::int16_t(int(i % 60001) - 30000);
    dir.write("BENDRD31.---", ramp);
    dir.write("BENDRT61.---", Samples(50000, -12345));
    SampleReader reader;
    const UsulRecord u = usulOf({dum(16), tek(3), dum(5), tek(200), dum(224)});
    bool written = false;
    const UsulRender streamed = renderUsulToFile(u, at(24, 4, true), dir.path(), reader, &written);
    ASSERT_TRUE(written);
    ASSERT_EQ(streamed.cycles, 1);
    EXPECT_TRUE(streamed.usulMix.empty());
    const UsulRender mem = renderUsul(u, at(24, 4, true), dir.path(), reader);
    EXPECT_EQ(readBytes<std::uint8_t>(dir.path() / "Shablon.---"), usulFileImage(mem));
    // Any stretch mixed on its own matches the whole cycle.
    Samples part(1000);
    mixUsul(mem, 32000, part);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), mem.usulMix.begin() + 32000));
    // Strokes are cut at the end of the cycle and never wrap: one 64th at 250 to the
    // sixteenth is 2,646 samples, and the 5,000-sample stroke stops there.
    dir.write("BENDRD31.---", Samples(5000, 20000));
    const UsulRender r = renderUsul(usulOf({dum(1)}), at(250, 16, true), dir.path(), reader);
    EXPECT_EQ(r.usulMix, Samples(2646, 10000));
    EXPECT_EQ(r.cycles, 2000);
}

TEST(UsulRender, UnreadableSampleFilesSoundThePreviousSamples) {
    SoundFolder dir;
    fs::remove(dir.path() / "BENDRT61.---");
    SampleReader reader;
    // The Tek file is missing: each Tek stroke reports it and sounds the Düm read before it.
    const UsulRender r =
        renderUsul(usulOf({dum(16), tek(16), tek(16)}), at(120, 4), dir.path(), reader);
    ASSERT_EQ(r.status, UsulRenderStatus::Ok);
    EXPECT_EQ(r.messages, (std::vector<WavStatus>{WavStatus::CannotOpen, WavStatus::CannotOpen}));
    EXPECT_EQ(r.usulMix[std::size_t(r.startSamples[2] - 1)], 5000);
    EXPECT_EQ(reader.sampleBuffer, (Samples{20000}));
    EXPECT_EQ(renderUsul(UsulRecord{}, at(120, 4), dir.path(), reader).status,
              UsulRenderStatus::NoStrokes);
}

// Strokes start at round(elapsed samples) + 1, the samples per 64th moving linearly by δ
// from the intro to the final tempo; the buffer holds (a + b) ÷ 2 samples per 64th.
struct PassageCase {
    std::vector<int> dums; // lengths of the Düms in circles 1, 2, …
    int first, last, intro, final;
    float delta;
    std::size_t size;
    std::vector<std::size_t> onsets;
};
class PassageStrokes : public ::testing::TestWithParam<PassageCase> {};

TEST_P(PassageStrokes, StrokesStartWhereTheTempoPutsThem) {
    const PassageCase& c = GetParam();
    SoundFolder dir;
    SampleReader reader;
    Samples buffer;
    UsulRecord u;
    for (std::size_t i = 0; i < c.dums.size(); ++i)
        u.circle(int(i) + 1) = dum(c.dums[i]);
    u.totalLength = std::int16_t(sumOfStrokes(u));
    const PassageResult r =
        DataYapPasaj(u, stretch(c.first, c.last, 4, c.intro, c.final), dir.path(), reader, buffer);
    ASSERT_EQ(r.status, PassageStatus::Ok);
    EXPECT_EQ(r.tempo.delta, c.delta);
    EXPECT_EQ(buffer.size(), c.size);
    EXPECT_EQ(soundingAt(buffer), c.onsets);
    EXPECT_EQ(buffer[0], 10000);
}

INSTANTIATE_TEST_SUITE_P(
    Tempos, PassageStrokes,
    ::testing::Values(
        // 1653.75 a 64th: 9922.5 → 9922 and 29767.5 → 29768, ties to even.
        PassageCase{{6, 6, 6, 6}, 1, 4, 100, 100, 0.0f, 39690, {0, 9922, 19845, 29768}},
        // 1378.125 ÷ 63 = 21.875; e = 16: 22050 + round(120 × 21.875) = 24675.
        PassageCase{{16, 16, 16, 16}, 1, 4, 120, 60, 21.875f, 132300, {0, 24675, 54950, 90825}},
        PassageCase{{16, 16, 8, 24}, 3, 4, 120, 120, 0.0f, 44100, {0, 11025}},
        // One 64th has no step: (2756.25 + 1378.125) ÷ 2 = 2067.19 → 2067.
        PassageCase{{1}, 1, 1, 60, 120, 0.0f, 2067, {0}}));

TEST(Passage, RepetitionsGoThroughTheScratchFile) {
    SoundFolder dir;
    SampleReader reader;
    const UsulRecord u = usulOf({dum(16), tek(16)});
    Samples once, thrice;
    DataYapPasaj(u, stretch(1, 2, 8, 120, 120), dir.path(), reader, once);
    ASSERT_EQ(once.size(), 88200u); // 2756.25 samples per 64th × 32
    // An earlier, longer passage left its bytes in "Pasaj.dat": they stay after the new ones.
    const std::vector<std::uint8_t> old(3 * 176400 + 10, 0xAB);
    ASSERT_TRUE(writeFileBytes(dir.path() / "Pasaj.dat", old));
    const PassageResult r =
        DataYapPasaj(u, stretch(1, 2, 8, 120, 120, 3), dir.path(), reader, thrice);
    ASSERT_EQ(r.status, PassageStatus::Ok);
    ASSERT_EQ(thrice.size(), 3 * once.size());
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(std::equal(once.begin(), once.end(), thrice.begin() + k * 88200)) << k;
    std::vector<std::uint8_t> scratch, expected;
    ASSERT_TRUE(readFileBytes(dir.path() / "Pasaj.dat", scratch));
    for (int k = 0; k < 3; ++k)
        appendSampleBytes(expected, once);
    expected.insert(expected.end(), 10, 0xAB);
    EXPECT_EQ(scratch, expected);
}

TEST(Passage, Guards) {
    SoundFolder dir;
    SampleReader reader;
    Samples buffer;
    // No beats stored in the usul (message 3), or no tempo: the previous passage stays.
    buffer = {1, 2, 3};
    UsulRecord empty = usulOf({dum(16)});
    empty.totalLength = 0;
    EXPECT_EQ(DataYapPasaj(empty, stretch(1, 1, 4, 60, 60), dir.path(), reader, buffer).status,
              PassageStatus::NoBeats);
    EXPECT_EQ(
        DataYapPasaj(usulOf({dum(16)}), stretch(1, 1, 4, 0, 60), dir.path(), reader, buffer).status,
        PassageStatus::BadTempo);
    EXPECT_EQ(buffer, (Samples{1, 2, 3}));
    // A stretch of circles without strokes renders an empty passage.
    DataYapPasaj(usulOf({dum(16)}), stretch(5, 9, 4, 60, 90), dir.path(), reader, buffer);
    EXPECT_TRUE(buffer.empty());
}
