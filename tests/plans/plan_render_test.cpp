// Plan rendering into "Eser.---" with the built-in library and the real sample bank.
#include "common/rounding.h"
#include "plans/plan_render.h"
#include "sound/pasaj_render.h"
#include "sound/sample_bank.h"
#include "sound/wav.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

class BankFolder : public TemporaryFolder {
  public:
    BankFolder() { EXPECT_FALSE(prepareSampleBank(path(), 0.6f, 0.4f).fatal); }
    fs::path eser() const { return path() / kPlanSoundFileName; }
};

// One circle holding a Düm of a quarter.
UsulRecord tiny() {
    UsulRecord u;
    u.circle(1).rightDuration = 16;
    u.circle(1).level = 3;
    u.totalLength = 16;
    return u;
}

} // namespace

// Semai twice, a stretch of it, an empty slot (message 3, no samples) and a ramp over three
// repetitions: 17 a step, so the last ends at 149. An earlier, longer file is replaced.
TEST(PlanRenderGolden, ShortPlanWithAStretchARepetitionAndARamp) {
    BankFolder bank;
    ASSERT_TRUE(writeFileBytes(bank.eser(), std::vector<std::uint8_t>(4'000'000, 0x55)));
    const std::u32string text = planOf({{U"Iki", U"4", U"2", U"4", U"200"},
                                        {U"Yari", U"4", U"-2", U"4", U"200"},
                                        {U"Bos", U"190", U"1", U"4", U"200"},
                                        {U"Son", U"4", U"3", U"4", U"200>150"}});
    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(text, builtInOrNone, current, bank.path(), reader);
    ASSERT_TRUE(r.fileOk);
    EXPECT_TRUE(r.headerWritten);
    EXPECT_EQ(current, builtIn(4)); // the usul of the last passage stays loaded
    EXPECT_EQ(r.messages, (std::vector<Message>{Message::noBeats}));
    EXPECT_EQ(r.sectionNames, (std::vector<std::u32string>{U"Iki", U"Yari", U"Bos", U"Son"}));
    EXPECT_EQ(r.sectionUsul, (std::vector<std::int16_t>{4, 4, 190, 4}));
    std::vector<std::array<int, 5>> calls; // section, repeat, intro, final, last circle
    std::vector<std::int64_t> sectionSamples(4);
    for (const PlanPassage& p : r.passages) {
        calls.push_back({p.section, p.repeat, p.introBpm, p.finalBpm, p.lastHalka});
        sectionSamples[std::size_t(p.section - 1)] += p.samples;
    }
    const int last = MevcutHalka(builtIn(4));
    EXPECT_EQ(calls, (std::vector<std::array<int, 5>>{{1, 2, 200, 200, last},
                                                      {2, 1, 200, 200, 2},
                                                      {3, 1, 200, 200, 0},
                                                      {4, 1, 200, 183, last},
                                                      {4, 1, 183, 166, last},
                                                      {4, 1, 166, 149, last}}));
    // Section ends count the samples written so far, in rounded milliseconds.
    std::int64_t written = 0;
    std::vector<std::int32_t> ends;
    for (std::int64_t s : sectionSamples)
        ends.push_back(std::int32_t(roundHalfEven(double(written += s) / 44.1)));
    EXPECT_EQ(r.sectionEndMs, ends);
    EXPECT_EQ(r.renderedSamples, written);
    EXPECT_DOUBLE_EQ(r.playLengthMs, double(written) / 44.1);
    const Bytes wav = readBytes<std::uint8_t>(bank.eser());
    EXPECT_TRUE(matchesGolden("short-plan.wav", std::string(wav.begin(), wav.end())));
}

// round(188 ÷ 98) = round(188 ÷ 120) = 2: both play 98 repetitions down to 20.
TEST(PlanRender, RampedSectionPlaysAtMostNinetyEightRepetitions) {
    BankFolder bank;
    const UsulOfSlot readTiny = [](int) { return std::optional<UsulRecord>(tiny()); };
    for (const char32_t* repeat : {U"98", U"120"}) {
        UsulRecord current;
        SampleReader reader;
        const auto r = renderPlan(planOf({{U"Uzun", U"7", repeat, U"4", U"208>20"}}), readTiny,
                                  current, bank.path(), reader);
        ASSERT_EQ(r.passages.size(), 98u);
        std::int64_t total = 0;
        for (std::size_t k = 0; k < 98; ++k) {
            EXPECT_EQ(r.passages[k].introBpm, 208 - int(k) * 2);
            EXPECT_EQ(r.passages[k].finalBpm, 206 - int(k) * 2);
            total += r.passages[k].samples;
        }
        EXPECT_EQ(r.renderedSamples, total);
        EXPECT_EQ(fs::file_size(bank.eser()), std::uintmax_t(44 + 2 * total));
    }
}

TEST(PlanRender, StereoBankLeavesTheHeaderUnwritten) {
    BankFolder bank;
    // A two-channel strong Düm: the reader reads nothing but keeps its header.
    const std::vector<std::int16_t> s(100, 1000);
    ASSERT_TRUE(writeWavFile(bank.path() / "BENDRD31.---",
                             BuildWavHeader(std::uint32_t(s.size()), 2, 44100, 16), s));
    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(
        planOf({{U"A", U"1", U"1", U"4", U"60"}}),
        [](int) { return std::optional<UsulRecord>(tiny()); }, current, bank.path(), reader);
    EXPECT_EQ(reader.sampleHeader.channels, 2);
    EXPECT_FALSE(r.headerWritten);
    ASSERT_GT(r.renderedSamples, 0);
    const Bytes wav = readBytes<std::uint8_t>(bank.eser());
    ASSERT_EQ(wav.size(), std::size_t(44 + 2 * r.renderedSamples));
    EXPECT_EQ(Bytes(wav.begin(), wav.begin() + 44), Bytes(44, 0));
}

TEST(PlanRender, PlayFromTheSelectedEntry) {
    const std::vector<std::int32_t> ends{1000, 2500, 4000};
    std::vector<std::int32_t> from;
    for (int entry : {0, 1, 2, -1, 5})
        from.push_back(playFromMsFor(entry, ends));
    EXPECT_EQ(from, (std::vector<std::int32_t>{0, 1000, 2500, 0, 4000}));
    EXPECT_EQ(playFromMsFor(0, {}), 0);
}
