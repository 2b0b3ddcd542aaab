#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "tests/support/support.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

using namespace zerkavi;
using zerkavi::testing::builtIn;

namespace {

// A library of made-up slots: slot -> last used circle; every read is logged.
struct FakeLibrary {
    std::map<int, int> lastCircle;
    std::vector<int> reads;
    LastCircleOfSlot reader() {
        return [this](int slot) {
            reads.push_back(slot);
            const auto it = lastCircle.find(slot);
            return it == lastCircle.end() ? 0 : it->second;
        };
    }
};

const std::u32string kExample = U"Birinci_hane 165 2 4 84\r\n"
                                U"Teslim_ilk 165 1 4 84\r\n"
                                U"Teslim_son 165 -48 4 84\r\n"
                                U"Final 165 49- 4 84>50";

// The worked example as Save stores it; column numbers are 1-based:
// name 1-17, usul 20-23, repeat 26-29, unit 32-34, metronome 37-43.
const std::string kExampleNormalised = "Birinci_hane       165   2     4    84     \r\n"
                                       "Teslim_ilk         165   1     4    84     \r\n"
                                       "Teslim_son         165   -48   4    84     \r\n"
                                       "Final              165   49-   4    84>50  ";

// The message a one-line plan gets, with slot 1 holding 96 used circles.
Message refusalOf(const std::u32string& line) {
    FakeLibrary lib{{{1, 96}}, {}};
    const PlanSaveResult r = checkPlanForSave(line, U"p", lib.reader());
    return r.message;
}

std::string utf8(const std::u32string& s) {
    return toUtf8(s);
}

} // namespace

// ---- Save: the worked example and the normalised text ---------------------------------

TEST(PlanSave, WorkedExampleIsStoredByteForByte) {
    FakeLibrary lib{{{165, 96}}, {}};
    const PlanSaveResult r = checkPlanForSave(kExample, U"Muhammes peşrevi", lib.reader());
    ASSERT_TRUE(r.ok()) << r.message << " line " << r.line;
    EXPECT_EQ(utf8(r.normalisedText), kExampleNormalised);
    EXPECT_EQ(r.sectionNames, (std::vector<std::u32string>{U"Birinci_hane", U"Teslim_ilk",
                                                           U"Teslim_son", U"Final"}));
    EXPECT_EQ(utf8(r.fileName), "Muhammes pesrevi.txt");
    // Only the two lines with a dash need the usul's circles.
    EXPECT_EQ(lib.reads, (std::vector<int>{165, 165}));
}

TEST(PlanSave, WorkedExamplePassesWithTheBuiltInMuhammes) {
    const int last = MevcutHalka(builtIn(165));
    ASSERT_GE(last, 49) << "slot 165 is too short for the example";
    const PlanSaveResult r =
        checkPlanForSave(kExample, U"Örnek", [](int slot) { return MevcutHalka(builtIn(slot)); });
    ASSERT_TRUE(r.ok()) << r.message << " line " << r.line;
    EXPECT_EQ(utf8(r.normalisedText), kExampleNormalised);
}

TEST(PlanSave, BlanksAreCollapsedAndFieldsPutInTheirColumns) {
    const PlanSaveResult r =
        checkPlanForSave(U"   a    1   3  8    100>60   ", U"p", FakeLibrary{}.reader());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(utf8(r.normalisedText), "a                  1     3     8    100>60 ");
    EXPECT_EQ(r.normalisedText.size(), kPlanLineChars);
}

TEST(PlanSave, LongFieldsAreCutToTheirColumns) {
    // 20-character names are cut to 17 characters, not bytes; the section list keeps them
    // whole. Every field keeps its numeric value only as far as it fits.
    const PlanSaveResult r = checkPlanForSave(U"Şarkı_ölçüsü_birinci 0165x 12345 16.0 0100>0200",
                                              U"p", FakeLibrary{}.reader());
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(utf8(r.normalisedText), "Şarkı_ölçüsü_biri  0165  1234  16.  0100>02");
    EXPECT_EQ(r.normalisedText.size(), kPlanLineChars);
    ASSERT_EQ(r.sectionNames.size(), 1u);
    EXPECT_EQ(utf8(r.sectionNames[0]), "Şarkı_ölçüsü_birinci");
}

TEST(PlanSave, LinesAreSplitAtCrLfOnly) {
    FakeLibrary lib;
    // Empty and blank lines, and a final CR LF, are dropped.
    PlanSaveResult r =
        checkPlanForSave(U"\r\n  \r\na 1 1 4 84\r\n\r\nb 2 1 4 84\r\n", U"p", lib.reader());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(utf8(r.normalisedText), "a                  1     1     4    84     \r\n"
                                      "b                  2     1     4    84     ");
    // A lone LF is an ordinary character: the two sections become one line of nine fields.
    r = checkPlanForSave(U"a 1 1 4 84\nb 2 1 4 84", U"p", lib.reader());
    EXPECT_EQ(r.message, Message::fieldCount);
    EXPECT_EQ(r.line, 1);
    // A lone CR stays in the metronome field, where it ends the number.
    r = checkPlanForSave(U"a 1 1 4 84\r\r\n", U"p", lib.reader());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(utf8(r.normalisedText), "a                  1     1     4    84\r    ");
    // What a text box hands over with LF line ends is made into CR LF first.
    EXPECT_EQ(utf8(withCrLf(U"a\nb\r\nc\rd\n")), "a\r\nb\r\nc\r\nd\r\n");
    r = checkPlanForSave(withCrLf(U"a 1 1 4 84\nb 2 1 4 84\n"), U"p", lib.reader());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.sectionNames.size(), 2u);
}

// ---- Save: the order of the checks ----------------------------------------------------

TEST(PlanSaveOrder, EmptyTextThenEmptyNameThenTheLines) {
    FakeLibrary lib;
    EXPECT_EQ(checkPlanForSave(U"", U"", lib.reader()).message, Message::noSections);
    EXPECT_EQ(checkPlanForSave(U"x", U"", lib.reader()).message, Message::planNameMissing);
    EXPECT_EQ(checkPlanForSave(U"x", U"", lib.reader()).line, 0);
    // Blanks are a name at this point; the bad line is found first.
    const PlanSaveResult r = checkPlanForSave(U"x", U"   ", lib.reader());
    EXPECT_EQ(r.message, Message::fieldCount);
    EXPECT_EQ(r.line, 1);
}

TEST(PlanSaveOrder, BlankTextOrBlankNameAreRefusedAfterTheLines) {
    FakeLibrary lib;
    PlanSaveResult r = checkPlanForSave(U"  \r\n \r\n", U"p", lib.reader());
    EXPECT_EQ(r.message, Message::noSections);
    EXPECT_EQ(r.line, 0);
    r = checkPlanForSave(U"  \r\n", U"  ", lib.reader());
    EXPECT_EQ(r.message, Message::noSections);
    r = checkPlanForSave(U"a 1 1 4 84", U"   ", lib.reader());
    EXPECT_EQ(r.message, Message::planNameMissing);
    EXPECT_EQ(r.line, 0);
    EXPECT_TRUE(r.normalisedText.empty());
}

TEST(PlanSaveOrder, TheFirstBadLineWinsAndBlankLinesDoNotCount) {
    FakeLibrary lib;
    // The third raw line is the second section.
    PlanSaveResult r =
        checkPlanForSave(U"a 1 1 4 84\r\n   \r\nb 300 1 4 84\r\nc 1 1 5 84", U"p", lib.reader());
    EXPECT_EQ(r.message, Message::usulNumber);
    EXPECT_EQ(r.line, 2);
    r = checkPlanForSave(U"a 1 1 4 84\r\nb 1 1 4 84\r\nc 1 1 5 84\r\nd 0 1 4 84", U"p",
                         lib.reader());
    EXPECT_EQ(r.message, Message::unitNote);
    EXPECT_EQ(r.line, 3);
}

TEST(PlanSaveOrder, WithinALineFieldsAreCheckedLeftToRight) {
    EXPECT_EQ(refusalOf(U"a 0 5-5 5 300>>1 x"), Message::fieldCount);
    EXPECT_EQ(refusalOf(U"a 0 5-5 5 300>>1"), Message::usulNumber);
    EXPECT_EQ(refusalOf(U"a 1 5-5 5 300>>1"), Message::dash);
    EXPECT_EQ(refusalOf(U"a 1 -500 5 300>>1"), Message::circleNumber);
    EXPECT_EQ(refusalOf(U"a 1 -5 5 300>>1"), Message::unitNote);
    EXPECT_EQ(refusalOf(U"a 1 -5 4 300>>1"), Message::greaterThan);
    EXPECT_EQ(refusalOf(U"a 1 -5 4 300"), Message::bpmTooHigh);
    EXPECT_EQ(refusalOf(U"a 1 -5 4 300>1"), Message::introBpmTooHigh);
    EXPECT_EQ(refusalOf(U"a 1 -5 4 1>300"), Message::introBpmTooLow);
    EXPECT_EQ(refusalOf(U"a 1 -5 4 84>300"), Message::finalBpmTooHigh);
}

TEST(PlanSaveOrder, TheSlotIsReadBeforeTheDashPositionIsChecked) {
    FakeLibrary lib{{{6, 50}, {7, 50}, {8, 50}}, {}};
    // Two dashes are refused without reading; a dash in the middle only after reading.
    EXPECT_EQ(checkPlanForSave(U"a 7 --5 4 84", U"p", lib.reader()).message, Message::dash);
    EXPECT_TRUE(lib.reads.empty());
    EXPECT_EQ(checkPlanForSave(U"a 7 5-5 4 84", U"p", lib.reader()).message, Message::dash);
    EXPECT_EQ(lib.reads, std::vector<int>{7});
    // Without a dash nothing is read; a fractional usul number reads the rounded slot.
    lib.reads.clear();
    EXPECT_TRUE(checkPlanForSave(U"a 7 3 4 84", U"p", lib.reader()).ok());
    EXPECT_TRUE(lib.reads.empty());
    EXPECT_TRUE(checkPlanForSave(U"a 6.5 -3 4 84\r\nb 7.5 -3 4 84", U"p", lib.reader()).ok());
    EXPECT_EQ(lib.reads, (std::vector<int>{6, 8})); // ties to even
}

// ---- Save: every limit at its boundary ------------------------------------------------

struct LineCase {
    const char* line;
    Message message; // none: accepted
};

class PlanLineLimits : public ::testing::TestWithParam<LineCase> {};

TEST_P(PlanLineLimits, LineGetsItsMessage) {
    const LineCase& c = GetParam();
    EXPECT_EQ(refusalOf(fromUtf8(c.line)), c.message) << c.line;
}

INSTANTIATE_TEST_SUITE_P(PlanFields, PlanLineLimits,
                         ::testing::Values(LineCase{"a 1 1 4", Message::fieldCount},
                                           LineCase{"a 1 1 4 84 x", Message::fieldCount},
                                           LineCase{"my section 1 1 4 84", Message::fieldCount},
                                           LineCase{"a\t1 1 4 84", Message::fieldCount},
                                           LineCase{"a 1 1 4\t84", Message::fieldCount},
                                           LineCase{"a 1 1 4 84\t", Message::none},
                                           LineCase{"a\xC2\xA0"
                                                    "b 1 1 4 84",
                                                    Message::none}));
INSTANTIATE_TEST_SUITE_P(PlanUsulNumber, PlanLineLimits,
                         ::testing::Values(LineCase{"a 1 1 4 84", Message::none},
                                           LineCase{"a 255 1 4 84", Message::none},
                                           LineCase{"a 0 1 4 84", Message::usulNumber},
                                           LineCase{"a 256 1 4 84", Message::usulNumber},
                                           LineCase{"a 0.99 1 4 84", Message::usulNumber},
                                           LineCase{"a 255.01 1 4 84", Message::usulNumber},
                                           LineCase{"a -1 1 4 84", Message::usulNumber},
                                           LineCase{"a abc 1 4 84", Message::usulNumber},
                                           LineCase{"a 12abc 1 4 84", Message::none},
                                           LineCase{"a 1e5 1 4 84", Message::none}));
INSTANTIATE_TEST_SUITE_P(
    PlanRepeatField, PlanLineLimits,
    ::testing::Values(
        LineCase{"a 1 -48 4 84", Message::none}, LineCase{"a 1 49- 4 84", Message::none},
        LineCase{"a 1 -96 4 84", Message::none}, LineCase{"a 1 96- 4 84", Message::none},
        LineCase{"a 1 -97 4 84", Message::circleNumber},
        LineCase{"a 1 97- 4 84", Message::circleNumber}, LineCase{"a 1 - 4 84", Message::none},
        LineCase{"a 1 -0 4 84", Message::none}, LineCase{"a 1 4-8 4 84", Message::dash},
        LineCase{"a 1 --48 4 84", Message::dash}, LineCase{"a 1 -4-8 4 84", Message::dash},
        LineCase{"a 1 48-- 4 84", Message::dash}, LineCase{"a 1 -x 4 84", Message::none},
        LineCase{"a 1 abc 4 84", Message::none},
        LineCase{"a 1 99999999999999999999 4 84", Message::none}));
INSTANTIATE_TEST_SUITE_P(PlanUnitNote, PlanLineLimits,
                         ::testing::Values(LineCase{"a 1 1 2 84", Message::none},
                                           LineCase{"a 1 1 4 84", Message::none},
                                           LineCase{"a 1 1 8 84", Message::none},
                                           LineCase{"a 1 1 16 84", Message::none},
                                           LineCase{"a 1 1 4.0 84", Message::none},
                                           LineCase{"a 1 1 8th 84", Message::none},
                                           LineCase{"a 1 1 5 84", Message::unitNote},
                                           LineCase{"a 1 1 1 84", Message::unitNote},
                                           LineCase{"a 1 1 32 84", Message::unitNote},
                                           LineCase{"a 1 1 4.5 84", Message::unitNote},
                                           LineCase{"a 1 1 x 84", Message::unitNote}));
INSTANTIATE_TEST_SUITE_P(
    PlanMetronome, PlanLineLimits,
    ::testing::Values(
        LineCase{"a 1 1 4 208", Message::none}, LineCase{"a 1 1 4 209", Message::bpmTooHigh},
        LineCase{"a 1 1 4 208.01", Message::bpmTooHigh}, LineCase{"a 1 1 4 20", Message::none},
        LineCase{"a 1 1 4 19", Message::bpmTooLow}, LineCase{"a 1 1 4 19.99", Message::bpmTooLow},
        LineCase{"a 1 1 4 x", Message::bpmTooLow},
        LineCase{"a 1 1 4 99999999999999999999999999999999999999999", Message::bpmTooHigh},
        LineCase{"a 1 1 4 84>>50", Message::greaterThan},
        LineCase{"a 1 1 4 84>50>40", Message::greaterThan},
        LineCase{"a 1 1 4 208>20", Message::none}, LineCase{"a 1 1 4 20>208", Message::none},
        LineCase{"a 1 1 4 209>50", Message::introBpmTooHigh},
        LineCase{"a 1 1 4 19>50", Message::introBpmTooLow},
        LineCase{"a 1 1 4 84>209", Message::finalBpmTooHigh},
        LineCase{"a 1 1 4 84>19", Message::finalBpmTooLow},
        LineCase{"a 1 1 4 84>", Message::finalBpmTooLow},
        LineCase{"a 1 1 4 >50", Message::introBpmTooLow},
        LineCase{"a 1 1 4 >", Message::introBpmTooLow}));

TEST(PlanSaveLimits, AnEmptySlotHasNoCircleToName) {
    FakeLibrary lib; // every slot empty
    EXPECT_EQ(checkPlanForSave(U"a 9 -1 4 84", U"p", lib.reader()).message, Message::circleNumber);
    EXPECT_EQ(checkPlanForSave(U"a 9 1- 4 84", U"p", lib.reader()).message, Message::circleNumber);
    EXPECT_TRUE(checkPlanForSave(U"a 9 -0 4 84", U"p", lib.reader()).ok());
}

// ---- Message texts --------------------------------------------------------------------

TEST(PlanMessages, LineNumberFollowsTheTextDirectly) {
    EXPECT_EQ(planMessageText(Message::usulNumber, 2, Language::English),
              "  Invalid usul nr.  Line:  2");
    EXPECT_EQ(planMessageText(Message::finalBpmTooLow, 12, Language::Turkish),
              "Çıkış metronomu çok düşük.  Satır: 12");
    EXPECT_EQ(planMessageText(Message::fieldCount, 1, Language::English),
              "  Invalid entry or blank in sequence name.  Line: 1");
    EXPECT_EQ(planMessageText(Message::planNameMissing, 0, Language::Turkish),
              "Meşk planına bir isim verin.  ");
    EXPECT_EQ(planMessageText(Message::noSections, 0, Language::English), "No Sequence !.");
    EXPECT_EQ(planMessageText(Message::none, 3, Language::English), "");
}

// ---- Reading a stored plan for playing ------------------------------------------------

TEST(PlanParse, WorkedExampleSections) {
    FakeLibrary lib{{{165, 96}}, {}};
    const MeskPlan plan = parseStoredPlan(U"Örnek", fromUtf8(kExampleNormalised), lib.reader());
    EXPECT_EQ(plan.name, U"Örnek");
    ASSERT_EQ(plan.sections.size(), 4u);
    const std::vector<PlanSection> expected = {
        {U"Birinci_hane", 165, 1, 96, 2, 4, 84, 84},
        {U"Teslim_ilk", 165, 1, 96, 1, 4, 84, 84},
        {U"Teslim_son", 165, 1, 48, 1, 4, 84, 84},
        {U"Final", 165, 49, 96, 1, 4, 84, 50},
    };
    EXPECT_EQ(plan.sections, expected);
    // Every line's slot is read, as playing shows each section's usul.
    EXPECT_EQ(lib.reads, (std::vector<int>{165, 165, 165, 165}));
}

TEST(PlanParse, NumbersRoundTiesToEvenAndSaturate) {
    FakeLibrary lib{{{3, 20}}, {}};
    const MeskPlan plan = parseStoredPlan(U"p",
                                          U"a 2.5 2.5 4.5 84.5>50.5\r\n"
                                          U"b 3.5 3.5 3.5 85.5\r\n"
                                          U"c 3 99999999999999999999 4 -99999999999\r\n"
                                          U"d 3 letters 4 84",
                                          lib.reader());
    ASSERT_EQ(plan.sections.size(), 4u);
    EXPECT_EQ(plan.sections[0], (PlanSection{U"a", 2, 1, 0, 2, 4, 84, 50}));
    EXPECT_EQ(plan.sections[1], (PlanSection{U"b", 4, 1, 0, 4, 4, 86, 86}));
    EXPECT_EQ(plan.sections[2], (PlanSection{U"c", 3, 1, 20, 32767, 4, -32768, -32768}));
    EXPECT_EQ(plan.sections[3], (PlanSection{U"d", 3, 1, 20, 0, 4, 84, 84}));
    EXPECT_EQ(lib.reads, (std::vector<int>{2, 4, 3, 3}));
}

TEST(PlanParse, DashAndGreaterThanForms) {
    FakeLibrary lib{{{1, 30}}, {}};
    const MeskPlan plan = parseStoredPlan(U"p",
                                          U"a 1 - 4 84\r\n"
                                          U"b 1 7- 4 84>60>40\r\n"
                                          U"c 1 5-5 4 >\r\n"
                                          U"d 1 -7- 4 84>",
                                          lib.reader());
    ASSERT_EQ(plan.sections.size(), 4u);
    EXPECT_EQ(plan.sections[0], (PlanSection{U"a", 1, 1, 0, 1, 4, 84, 84}));
    EXPECT_EQ(plan.sections[1], (PlanSection{U"b", 1, 7, 30, 1, 4, 84, 60}));
    EXPECT_EQ(plan.sections[2], (PlanSection{U"c", 1, 1, 30, 1, 4, 0, 0}));
    EXPECT_EQ(plan.sections[3], (PlanSection{U"d", 1, 1, 7, 1, 4, 84, 0}));
}

TEST(PlanParse, EveryStoredLineIsASection) {
    FakeLibrary lib;
    EXPECT_TRUE(parseStoredPlan(U"p", U"", lib.reader()).sections.empty());
    // Hand-edited files: an empty line and a short line still make sections, with zeros.
    const MeskPlan plan = parseStoredPlan(U"p", U"a 1\r\n\r\n  x  2  3", lib.reader());
    ASSERT_EQ(plan.sections.size(), 3u);
    EXPECT_EQ(plan.sections[0], (PlanSection{U"a", 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(plan.sections[1], (PlanSection{U"", 0, 1, 0, 0, 0, 0, 0}));
    // Leading blanks are not trimmed from a stored line: its name is empty.
    EXPECT_EQ(plan.sections[2].sectionName, U"");
    EXPECT_EQ(plan.sections[2].usulNo, 0);
    EXPECT_EQ(plan.sections[2].repeatCount, 2);
    EXPECT_EQ(
        storedSectionNames(fromUtf8(kExampleNormalised)),
        (std::vector<std::u32string>{U"Birinci_hane", U"Teslim_ilk", U"Teslim_son", U"Final"}));
    EXPECT_EQ(storedSectionNames(U"a 1\r\n\r\nb"), (std::vector<std::u32string>{U"a", U"", U"b"}));
}

// ---- Plan names and files -------------------------------------------------------------

TEST(PlanName, FoldedTrimmedFileName) {
    EXPECT_EQ(utf8(planFileName(U"  Şarkı Ölçü  ")), "Sarki Olcu.txt");
    EXPECT_EQ(utf8(foldPlanName(U"ıİÇçŞşÖöÜüĞğ")), "iICcSsOoUuGg");
    // Other characters, also non-Turkish letters and ones no file name allows, are kept.
    EXPECT_EQ(utf8(foldPlanName(U"Âşık/Veysel:\t ")), "Âsik/Veysel:\t");
    EXPECT_EQ(utf8(planFileName(U"   ")), ".txt");
}

TEST(PlanName, ShownNameOfAFile) {
    EXPECT_EQ(utf8(planNameFromFileName(U"Sarki Olcu.txt")), "Sarki Olcu");
    EXPECT_EQ(utf8(planNameFromFileName(U"a.txt.txt")), "a");
    EXPECT_EQ(utf8(planNameFromFileName(U"A.TXT")), "A.TXT");
    EXPECT_EQ(utf8(planNameFromFileName(U"x.txtplan.txt")), "xplan");
    EXPECT_EQ(utf8(planNameFromFileName(U"..txttxt")), ".txt");
}

// ---- The library reader ---------------------------------------------------------------

TEST(PlanLibrary, ReaderGivesLastUsedCircleOfASlot) {
    const zerkavi::testing::TemporaryFolder dir;
    const auto path = dir.path() / kLibraryFileName;
    ASSERT_TRUE(createLibraryIfMissing(path, defaultLibraryImage()));
    {
        LibraryFile lib;
        ASSERT_TRUE(lib.open(path));
        const LastCircleOfSlot last = lastCircleReader(lib);
        EXPECT_EQ(last(165), MevcutHalka(builtIn(165)));
        EXPECT_EQ(last(32), MevcutHalka(builtIn(32)));
        EXPECT_GT(last(32), 0);
        EXPECT_EQ(last(0), 0);
        EXPECT_EQ(last(-5), 0);
        EXPECT_EQ(last(300), 0);
    }
}

// ---- Bad input never breaks the checks or the reader ----------------------------------

TEST(PlanRobustness, RandomTextsGiveAMessageOrWellFormedLines) {
    std::u32string alphabet = U"  0123456789-->>..\t\r\n\r\nabzŞı€\u00A0\U0001F600";
    alphabet += U'\0';
    std::mt19937 rng(20261);
    FakeLibrary lib{{{1, 180}, {2, 0}, {3, 50}}, {}};
    std::map<Message, int> seen; // message -> count, none for accepted plans
    for (int round = 0; round < 3000; ++round) {
        std::u32string text;
        const int length = int(rng() % 120);
        for (int i = 0; i < length; ++i)
            text += alphabet[rng() % alphabet.size()];
        if (round % 3 == 0) text = U"a " + text;
        if (round % 5 == 0)
            text = U"a 1 -3 4 84\r\n" + text; // more lines that get past the field count
        const PlanSaveResult r = checkPlanForSave(text, U"p", lib.reader());
        ++seen[r.message];
        if (r.ok()) {
            const auto lines = splitPlanLines(r.normalisedText);
            ASSERT_EQ(lines.size(), r.sectionNames.size());
            for (const auto& l : lines)
                ASSERT_EQ(l.size(), kPlanLineChars);
            // A stored plan reads back with one section per line.
            ASSERT_EQ(parseStoredPlan(U"p", r.normalisedText, lib.reader()).sections.size(),
                      lines.size());
        } else {
            ASSERT_GE(r.message, Message::planNameMissing);
            ASSERT_LE(r.message, Message::finalBpmTooLow);
            ASSERT_EQ(r.line > 0, r.message >= Message::fieldCount);
        }
        // Unchecked text is read without failing, one section per CR LF.
        const MeskPlan p = parseStoredPlan(U"p", text, lib.reader());
        ASSERT_EQ(p.sections.size(), splitPlanLines(text).size());
    }
    // The texts reach both sides: some are stored, some fail beyond the field count.
    EXPECT_GT(seen[Message::none], 0);
    EXPECT_GT(seen[Message::usulNumber], 0);
}

TEST(PlanRobustness, HugeAndOddNumbersAreReadSafely) {
    const std::u32string huge(5000, U'9');
    const std::u32string line = U"a " + huge + U" " + huge + U" " + huge + U" " + huge;
    EXPECT_EQ(refusalOf(line), Message::usulNumber);
    const MeskPlan plan =
        parseStoredPlan(U"p", line + U"\r\n-" + huge + U"- 1 -" + huge, FakeLibrary{}.reader());
    ASSERT_EQ(plan.sections.size(), 2u);
    EXPECT_EQ(plan.sections[0].usulNo, 32767);
    EXPECT_EQ(plan.sections[0].repeatCount, 32767);
    EXPECT_EQ(plan.sections[1].sectionName, U"-" + huge + U"-");
    EXPECT_EQ(plan.sections[1].usulNo, 1);
    EXPECT_EQ(plan.sections[1].startHalka, 1);
    EXPECT_EQ(plan.sections[1].endHalka, 32767);
}
