// Plan rendering into "Eser.---" with the built-in library and the real sample bank: every
// expectation is checked against passages rendered one by one with the passage renderer.
#include "common/rounding.h"
#include "plans/plan_render.h"
#include "sound/pasaj_render.h"
#include "sound/sample_bank.h"
#include "sound/wav.h"
#include "tests/support/support.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace zerkavi;
namespace fs = std::filesystem;

namespace {

using Samples = std::vector<std::int16_t>;

constexpr int kMuhammes = 165; // velveleli Muhammes in the built-in library

using zerkavi::testing::builtIn;

std::optional<UsulRecord> readBuiltIn(int slot) {
    if (slot < 1 || slot > 255) return std::nullopt;
    return builtIn(slot);
}

class BankFolder : public zerkavi::testing::TemporaryFolder {
  public:
    BankFolder() { EXPECT_FALSE(prepareSampleBank(path(), 0.6f, 0.4f).fatal); }
    fs::path eser() const { return path() / kPlanSoundFileName; }
};

std::u32string line(std::u32string name, std::u32string usul, std::u32string repeat,
                    std::u32string unit, std::u32string bpm) {
    return normalisedPlanLine({name, usul, repeat, unit, bpm});
}

std::u32string joinLines(const std::vector<std::u32string>& lines) {
    std::u32string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? U"\r\n" : U"") + lines[i];
    return text;
}

// One passage rendered on its own, with a reader of its own.
Samples passage(const UsulRecord& usul, const fs::path& folder, int first, int last, int repeat,
                int unit, int intro, int final) {
    PassageRequest q;
    q.firstHalka = first;
    q.lastHalka = last;
    q.repeat = repeat;
    q.unitNote = unit;
    q.introBpm = intro;
    q.finalBpm = final;
    SampleReader reader;
    Samples out;
    const PassageResult r = DataYapPasaj(usul, q, folder, reader, out);
    EXPECT_EQ(r.status, PassageStatus::Ok);
    return out;
}

Samples fileSamples(const fs::path& file) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(readFileBytes(file, bytes));
    Samples s;
    for (std::size_t i = kWavHeaderBytes; i + 1 < bytes.size(); i += 2)
        s.push_back(std::int16_t(std::uint16_t(bytes[i] | (bytes[i + 1] << 8))));
    return s;
}

void append(Samples& to, const Samples& s) {
    to.insert(to.end(), s.begin(), s.end());
}

std::int32_t ms(std::int64_t samples) {
    return std::int32_t(roundHalfEven(double(samples) / 44.1));
}

} // namespace

TEST(PlanRender, RampOverRepetitionsMovesInRoundedStepsAndEndsAtTheLastStep) {
    BankFolder bank;
    const UsulRecord m = builtIn(kMuhammes);
    const int last = MevcutHalka(m);
    ASSERT_GT(last, 48);

    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(line(U"Final", U"165", U"3", U"4", U"84>50"), readBuiltIn, current,
                              bank.path(), reader);
    ASSERT_TRUE(r.fileOk);
    ASSERT_EQ(r.passages.size(), 3u);
    // step = round(34 ÷ 3) = 11
    const int expected[3][2] = {{84, 73}, {73, 62}, {62, 51}};
    Samples all;
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(r.passages[std::size_t(k)].introBpm, expected[k][0]);
        EXPECT_EQ(r.passages[std::size_t(k)].finalBpm, expected[k][1]);
        EXPECT_EQ(r.passages[std::size_t(k)].repeat, 1);
        const Samples p = passage(m, bank.path(), 1, last, 1, 4, expected[k][0], expected[k][1]);
        EXPECT_EQ(r.passages[std::size_t(k)].samples, std::int64_t(p.size()));
        append(all, p);
    }
    EXPECT_EQ(r.renderedSamples, std::int64_t(all.size()));
    EXPECT_EQ(fileSamples(bank.eser()), all);
    // The last repetition ends at 51: ending at 50 would take more samples.
    EXPECT_LT(passage(m, bank.path(), 1, last, 1, 4, 62, 51).size(),
              passage(m, bank.path(), 1, last, 1, 4, 62, 50).size());
    EXPECT_EQ(current, m); // the usul of the last passage stays loaded
}

TEST(PlanRender, WorkedExamplePlanSectionBoundariesAndHeader) {
    BankFolder bank;
    const UsulRecord m = builtIn(kMuhammes);
    const int last = MevcutHalka(m);
    const std::u32string text = joinLines({line(U"Zemin", U"165", U"2", U"4", U"84"),
                                           line(U"Nakarat", U"165", U"1", U"4", U"84"),
                                           line(U"Teslim", U"165", U"-48", U"4", U"84"),
                                           line(U"Final", U"165", U"49-", U"4", U"84>50")});
    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(text, readBuiltIn, current, bank.path(), reader);
    ASSERT_TRUE(r.fileOk);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.sectionNames,
              (std::vector<std::u32string>{U"Zemin", U"Nakarat", U"Teslim", U"Final"}));
    EXPECT_EQ(r.sectionUsul, (std::vector<std::int16_t>(4, kMuhammes)));
    ASSERT_EQ(r.passages.size(), 4u); // each section one call

    const Samples s1 = passage(m, bank.path(), 1, last, 2, 4, 84, 84);
    const Samples s2 = passage(m, bank.path(), 1, last, 1, 4, 84, 84);
    const Samples s3 = passage(m, bank.path(), 1, 48, 1, 4, 84, 84);
    const Samples s4 = passage(m, bank.path(), 49, last, 1, 4, 84, 50);
    Samples all;
    std::vector<std::int32_t> ends;
    for (const Samples* s : {&s1, &s2, &s3, &s4}) {
        append(all, *s);
        ends.push_back(ms(std::int64_t(all.size())));
    }
    EXPECT_EQ(r.sectionEndMs, ends);
    EXPECT_EQ(r.endMsOfSection(1), ends[0]);
    EXPECT_EQ(r.endMsOfSection(4), ends[3]);
    EXPECT_EQ(r.renderedSamples, std::int64_t(all.size()));
    EXPECT_EQ(fileSamples(bank.eser()), all);

    // Header for renderedSamples mono samples, at offset 0.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readFileBytes(bank.eser(), bytes));
    ASSERT_EQ(bytes.size(), 44 + 2 * all.size());
    const WavHeaderBytes h =
        encodeWavHeader(BuildWavHeader(std::uint32_t(all.size()), 1, 44100, 16));
    EXPECT_TRUE(std::equal(h.begin(), h.end(), bytes.begin()));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    const std::uint32_t dataSize = std::uint32_t(bytes[40]) | std::uint32_t(bytes[41]) << 8 |
                                   std::uint32_t(bytes[42]) << 16 | std::uint32_t(bytes[43]) << 24;
    EXPECT_EQ(dataSize, 2 * all.size());
    EXPECT_EQ(bytes[22], 1); // channels
    EXPECT_TRUE(r.headerWritten);

    EXPECT_DOUBLE_EQ(r.playLengthMs, double(bytes.size() - 44) / 88.2);
    // The last boundary and the play length count the same samples.
    EXPECT_EQ(r.sectionEndMs.back(), std::int32_t(roundHalfEven(r.playLengthMs)));

    // Where playing starts for each entry of the section list.
    EXPECT_EQ(playFromMsFor(0, r.sectionEndMs), 0);
    EXPECT_EQ(playFromMsFor(1, r.sectionEndMs), ends[0]);
    EXPECT_EQ(playFromMsFor(2, r.sectionEndMs), ends[1]);
    EXPECT_EQ(playFromMsFor(3, r.sectionEndMs), ends[2]);
}

TEST(PlanRender, ConstantTempoSectionIsOnePassageCall) {
    BankFolder bank;
    const UsulRecord m = builtIn(kMuhammes);
    // An earlier, longer file is replaced, not overwritten in place.
    ASSERT_TRUE(writeFileBytes(bank.eser(), std::vector<std::uint8_t>(8'000'000, 0x55)));
    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(line(U"Zemin", U"165", U"3", U"8", U"120"), readBuiltIn, current,
                              bank.path(), reader);
    ASSERT_EQ(r.passages.size(), 1u);
    EXPECT_EQ(r.passages[0].repeat, 3);
    const Samples one = passage(m, bank.path(), 1, MevcutHalka(m), 3, 8, 120, 120);
    EXPECT_EQ(fileSamples(bank.eser()), one);
    EXPECT_EQ(fs::file_size(bank.eser()), 44 + 2 * one.size());
    EXPECT_EQ(r.sectionEndMs, (std::vector<std::int32_t>{ms(std::int64_t(one.size()))}));

    // A single repetition with a metronome change is one ramped passage as well.
    const auto ramp = renderPlan(line(U"Final", U"165", U"1", U"4", U"84>50"), readBuiltIn, current,
                                 bank.path(), reader);
    ASSERT_EQ(ramp.passages.size(), 1u);
    EXPECT_EQ(fileSamples(bank.eser()), passage(m, bank.path(), 1, MevcutHalka(m), 1, 4, 84, 50));
}

TEST(PlanRender, UsulWithoutBeatsReportsMessageThreeAndAddsNothing) {
    int empty = 0;
    for (int slot = 1; slot <= 255 && !empty; ++slot)
        if (builtIn(slot).totalLength == 0) empty = slot;
    ASSERT_NE(empty, 0) << "the built-in library has no slot without beats";

    BankFolder bank;
    const UsulRecord m = builtIn(kMuhammes);
    const std::u32string slot = std::u32string(U"") + std::u32string(1, U'0' + empty / 100) +
                                std::u32string(1, U'0' + empty / 10 % 10) +
                                std::u32string(1, U'0' + empty % 10);
    const std::u32string text =
        joinLines({line(U"A", U"165", U"-4", U"4", U"100"), line(U"Bos", slot, U"1", U"4", U"100"),
                   line(U"C", U"165", U"-4", U"4", U"100")});
    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(text, readBuiltIn, current, bank.path(), reader);
    EXPECT_EQ(r.messages, (std::vector<Message>{Message::noBeats}));
    ASSERT_EQ(r.sectionEndMs.size(), 3u);
    EXPECT_EQ(r.sectionUsul[1], empty);
    EXPECT_EQ(r.passages[1].samples, 0);
    // The empty section ends where the one before it ended.
    EXPECT_EQ(r.sectionEndMs[1], r.sectionEndMs[0]);
    const Samples a = passage(m, bank.path(), 1, 4, 1, 4, 100, 100);
    Samples all = a;
    append(all, a);
    EXPECT_EQ(fileSamples(bank.eser()), all);
    EXPECT_EQ(r.renderedSamples, std::int64_t(all.size()));
}

TEST(PlanRender, RampedSectionPlaysAtMostNinetyEightRepetitions) {
    BankFolder bank;
    UsulRecord tiny;
    tiny.circle(1).rightDuration = 16;
    tiny.circle(1).level = 3;
    tiny.totalLength = 16;
    const UsulOfSlot readTiny = [&](int) { return std::optional<UsulRecord>(tiny); };

    // step = round(188 ÷ 98) = 2 and round(188 ÷ 120) = 2: both play 98 repetitions.
    for (const char32_t* repeat : {U"98", U"120"}) {
        UsulRecord current;
        SampleReader reader;
        const auto r = renderPlan(line(U"Uzun", U"7", repeat, U"4", U"208>20"), readTiny, current,
                                  bank.path(), reader);
        ASSERT_EQ(r.passages.size(), 98u);
        std::int64_t total = 0;
        for (int k = 1; k <= 98; ++k) {
            const auto& p = r.passages[std::size_t(k - 1)];
            EXPECT_EQ(p.introBpm, 208 - (k - 1) * 2);
            EXPECT_EQ(p.finalBpm, 208 - k * 2);
            total +=
                std::int64_t(passage(tiny, bank.path(), 1, 1, 1, 4, p.introBpm, p.finalBpm).size());
        }
        EXPECT_EQ(r.renderedSamples, total);
        EXPECT_EQ(fs::file_size(bank.eser()), std::uintmax_t(44 + 2 * total));
    }
}

TEST(PlanRender, StereoBankLeavesTheHeaderUnwritten) {
    BankFolder bank;
    // A two-channel strong Düm: the reader reads nothing but keeps its header.
    const Samples s(100, 1000);
    ASSERT_TRUE(writeWavFile(bank.path() / "BENDRD31.---",
                             BuildWavHeader(std::uint32_t(s.size()), 2, 44100, 16), s));
    UsulRecord tiny;
    tiny.circle(1).rightDuration = 16;
    tiny.circle(1).level = 3;
    tiny.totalLength = 16;
    UsulRecord current;
    SampleReader reader;
    const auto r = renderPlan(
        line(U"A", U"1", U"1", U"4", U"60"), [&](int) { return std::optional<UsulRecord>(tiny); },
        current, bank.path(), reader);
    EXPECT_EQ(reader.sampleHeader.channels, 2);
    EXPECT_FALSE(r.headerWritten);
    ASSERT_GT(r.renderedSamples, 0);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readFileBytes(bank.eser(), bytes));
    ASSERT_EQ(bytes.size(), std::size_t(44 + 2 * r.renderedSamples));
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 44, [](auto b) { return b == 0; }));
}

TEST(PlanRender, PlayFromTheSelectedEntry) {
    const std::vector<std::int32_t> ends{1000, 2500, 4000};
    EXPECT_EQ(playFromMsFor(0, ends), 0);
    EXPECT_EQ(playFromMsFor(1, ends), 1000);
    EXPECT_EQ(playFromMsFor(2, ends), 2500);
    EXPECT_EQ(playFromMsFor(-1, ends), 0);
    EXPECT_EQ(playFromMsFor(5, ends), 4000);
    EXPECT_EQ(playFromMsFor(0, {}), 0);
}
