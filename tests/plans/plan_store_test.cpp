// Plan names as file names, the bytes Save writes and the plan reader, and the size a plan
// sound may take.
#include "common/messages.h"
#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "plans/plan_store.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zerkavi;

namespace {

struct NameCase {
    const char* what;
    std::u32string name;
    bool refused;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.what;
}

class PlanNames : public ::testing::TestWithParam<NameCase> {};

} // namespace

TEST_P(PlanNames, OnlyPlainFileNamesOfTheSoundFolderPass) {
    const NameCase& c = GetParam();
    EXPECT_EQ(planNameRefusal(c.name), c.refused ? Message::planFileName : Message::none);
    // Save refuses it after the lines passed, without a line number.
    const PlanSaveResult r = checkPlanForSave(U"A 32 1 8 120", c.name, [](int) { return 5; });
    EXPECT_EQ(r.message, c.refused ? Message::planFileName : Message::none);
    EXPECT_EQ(r.line, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanNames,
    ::testing::Values(NameCase{"plain", U"Pesrev", false},
                      NameCase{"Turkish letters and blanks", U" Şarkı Ölçü ", false},
                      NameCase{"dots inside", U"a.b..c", false}, NameCase{"slash", U"a/b", true},
                      NameCase{"up and out", U"../x", true}, NameCase{"backslash", U"a\\b", true},
                      NameCase{"colon", U"c:x", true}, NameCase{"tab", U"a\tb", true},
                      NameCase{"C1 control", U"a\u0085b", true},
                      NameCase{"delete", U"a\u007fb", true}, NameCase{"dot", U" . ", true},
                      NameCase{"dot dot", U"..", true},
                      // 251 + ".txt" = 255 bytes is the longest; ş takes two bytes.
                      NameCase{"255 bytes", std::u32string(251, U'a'), false},
                      NameCase{"256 bytes", std::u32string(252, U'a'), true},
                      NameCase{"300 characters", std::u32string(300, U'x'), true},
                      NameCase{"folds to one byte", std::u32string(251, U'ş'), false},
                      NameCase{"two bytes each", std::u32string(200, U'é'), true}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(PlanFileBytes, CodePage1254WithAFinalLineEnd) {
    EXPECT_EQ(planFileBytes(U"Ş 1\r\nğ 2"), "\xde 1\r\n\xf0 2\r\n");
    EXPECT_EQ(planFileBytes(U""), "\r\n");
}

TEST(PlanFileBytes, AnyBytesReadBackAsLinesJoinedByCrLf) {
    EXPECT_EQ(planTextFromBytes(""), U"");
    EXPECT_EQ(planTextFromBytes("a\r\nb\r\n"), U"a\r\nb");
    EXPECT_EQ(planTextFromBytes("a\nb"), U"a\r\nb");
    EXPECT_EQ(planTextFromBytes("a\rb\r\n\r\n"), U"a\r\nb\r\n");
    EXPECT_EQ(planTextFromBytes(std::string("\xde\0\xff", 3)), std::u32string(U"Ş\0ÿ", 3));
}

TEST(PlanSoundSize, TheWavSizeFieldAndTheFreeSpaceBoundTheSound) {
    constexpr std::uintmax_t plenty = std::numeric_limits<std::uintmax_t>::max();
    // RIFF size = 36 + 2 × samples must fit 32 bits.
    const std::int64_t most = (std::int64_t(std::numeric_limits<std::uint32_t>::max()) - 36) / 2;
    EXPECT_EQ(planSoundSize(most, plenty).refusal, Message::none);
    EXPECT_EQ(planSoundSize(most + 1, plenty).refusal, Message::planTooLong);
    EXPECT_EQ(planSoundSize(1000, 44 + 2000).refusal, Message::none);
    EXPECT_EQ(planSoundSize(1000, 44 + 1999).refusal, Message::planNoDiskSpace);
}
