// Work plans: Save's checks and the text it stores, and the reader of stored plans.
#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using namespace zerkavi;
using zerkavi::testing::builtIn;
using zerkavi::testing::matchesGolden;

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

std::string shown(const std::u32string& text) {
    std::string s = "[";
    for (char c : toUtf8(text))
        s += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
    return s + "]";
}

} // namespace

// Save's checks and the text it stores, and the sections the reader makes of the same text,
// for plans at every limit: the message Save gives and its line (0: saved), the slots it
// read, the stored text; then each section as name, usul, first and last circle, repeats,
// unit, intro and final metronome. Slots 1 and 165 hold 96 used circles, 3 holds 20, 6 to 8
// hold 50; the plan is named "p" unless a name is given.
TEST(PlanGolden, SaveAndReadOfPlansAtTheirLimits) {
    const std::u32string huge(60, U'9');
    const std::vector<std::pair<std::u32string, std::u32string>> named = {
        {U"", U""}, {U"", U"x"}, {U"   ", U"x"}, {U"  ", U"  \r\n"}, {U"   ", U"a 1 1 4 84"}};
    const std::vector<std::u32string> plans = {
        kExample,
        // Blanks collapsed, fields cut to their columns (names to 17 characters, not bytes).
        U"   a    1   3  8    100>60   ", U"Şarkı_ölçüsü_birinci 0165x 12345 16.0 0100>0200",
        // Lines are split at CR LF only; empty and blank lines do not count.
        U"\r\n  \r\na 1 1 4 84\r\n\r\nb 2 1 4 84\r\n", U"a 1 1 4 84\r\r\n",
        U"a 1 1 4 84\nb 2 1 4 84", withCrLf(U"a 1 1 4 84\nb 2 1 4 84\n"), U"", U"  \r\n \r\n",
        U"a 1 1 4 84\r\n   \r\nb 300 1 4 84\r\nc 1 1 5 84",
        U"a 1 1 4 84\r\nb 1 1 4 84\r\nc 1 1 5 84\r\nd 0 1 4 84",
        // Within a line, fields are checked left to right.
        U"a 0 5-5 5 300>>1 x", U"a 0 5-5 5 300>>1", U"a 1 5-5 5 300>>1", U"a 1 -500 5 300>>1",
        U"a 1 -5 5 300>>1", U"a 1 -5 4 300>>1", U"a 1 -5 4 300", U"a 1 -5 4 300>1",
        U"a 1 -5 4 1>300", U"a 1 -5 4 84>300",
        // The slot is read only for a dash, and before the dash's place is checked; a
        // fractional usul number reads the rounded slot; an empty slot has no circle to name.
        U"a 7 --5 4 84", U"a 7 5-5 4 84", U"a 7 3 4 84", U"a 6.5 -3 4 84\r\nb 7.5 -3 4 84",
        U"a 9 -1 4 84", U"a 9 1- 4 84", U"a 9 -0 4 84",
        // Every field at its limits.
        U"a 1 1 4", U"a 1 1 4 84 x", U"my section 1 1 4 84", U"a\t1 1 4 84", U"a 1 1 4\t84",
        U"a 1 1 4 84\t", U"a\u00A0b€\U0001F600 1 1 4 84", U"a 255 1 4 84", U"a 0 1 4 84",
        U"a 256 1 4 84", U"a 0.99 1 4 84", U"a 255.01 1 4 84", U"a -1 1 4 84", U"a abc 1 4 84",
        U"a 12abc 1 4 84", U"a 1e5 1 4 84", U"a 1 -48 4 84", U"a 1 49- 4 84", U"a 1 -96 4 84",
        U"a 1 96- 4 84", U"a 1 -97 4 84", U"a 1 97- 4 84", U"a 1 - 4 84", U"a 1 -0 4 84",
        U"a 1 4-8 4 84", U"a 1 --48 4 84", U"a 1 -4-8 4 84", U"a 1 48-- 4 84", U"a 1 -x 4 84",
        U"a 1 abc 4 84", U"a 1 " + huge + U" 4 84", U"a 1 1 2 84", U"a 1 1 8 84", U"a 1 1 16 84",
        U"a 1 1 4.0 84", U"a 1 1 8th 84", U"a 1 1 5 84", U"a 1 1 1 84", U"a 1 1 32 84",
        U"a 1 1 4.5 84", U"a 1 1 x 84", U"a 1 1 4 208", U"a 1 1 4 209", U"a 1 1 4 208.01",
        U"a 1 1 4 20", U"a 1 1 4 19", U"a 1 1 4 19.99", U"a 1 1 4 x", U"a 1 1 4 " + huge,
        U"a 1 1 4 84>>50", U"a 1 1 4 84>50>40", U"a 1 1 4 208>20", U"a 1 1 4 20>208",
        U"a 1 1 4 209>50", U"a 1 1 4 19>50", U"a 1 1 4 84>209", U"a 1 1 4 84>19", U"a 1 1 4 84>",
        U"a 1 1 4 >50", U"a 1 1 4 >",
        // Stored lines as the reader takes them: numbers round ties to even and saturate,
        // short and hand-made lines still make sections.
        U"a 2.5 2.5 4.5 84.5>50.5", U"b 3.5 3.5 3.5 85.5", U"c 3 " + huge + U" 4 -" + huge,
        U"d 3 letters 4 84", U"b 1 7- 4 84>60>40", U"c 1 5-5 4 >", U"d 1 -7- 4 84>",
        U"a 2\r\n\r\n  x  2  3", U"-" + huge + U"- 1 -" + huge};
    std::ostringstream out;
    auto report = [&](const std::u32string& name, const std::u32string& text) {
        FakeLibrary lib{{{1, 96}, {3, 20}, {6, 50}, {7, 50}, {8, 50}, {165, 96}}, {}};
        const PlanSaveResult r = checkPlanForSave(text, name, lib.reader());
        out << (name == U"p" ? "" : "name " + shown(name) + " ") << shown(text) << "\n  save "
            << r.message << ' ' << r.line << " reads";
        for (int slot : lib.reads)
            out << ' ' << slot;
        out << ' ' << shown(r.normalisedText) << "\n  read";
        for (const PlanSection& s : parseStoredPlan(U"p", text, lib.reader()).sections)
            out << ' ' << shown(s.sectionName) << ' ' << s.usulNo << ' ' << s.startHalka << ' '
                << s.endHalka << ' ' << s.repeatCount << ' ' << s.unitNote << ' ' << s.introBpm
                << ' ' << s.finalBpm << ';';
        out << '\n';
    };
    for (const auto& [name, text] : named)
        report(name, text);
    for (const auto& text : plans)
        report(U"p", text);
    EXPECT_TRUE(matchesGolden("plans.txt", out.str()));
}

TEST(PlanSave, WorkedExampleNamesItsFileAndFitsTheBuiltInMuhammes) {
    const PlanSaveResult r = checkPlanForSave(kExample, U"Muhammes peşrevi",
                                              [](int slot) { return MevcutHalka(builtIn(slot)); });
    ASSERT_TRUE(r.ok()) << r.message << " line " << r.line;
    EXPECT_EQ(toUtf8(r.fileName), "Muhammes pesrevi.txt");
    EXPECT_EQ(r.sectionNames, (std::vector<std::u32string>{U"Birinci_hane", U"Teslim_ilk",
                                                           U"Teslim_son", U"Final"}));
    EXPECT_EQ(storedSectionNames(U"a 1\r\n\r\nb"), (std::vector<std::u32string>{U"a", U"", U"b"}));
    EXPECT_EQ(toUtf8(withCrLf(U"a\nb\r\nc\rd\n")), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(planMessageText(Message::usulNumber, 2, Language::English),
              "  Invalid usul nr.  Line:  2");
    EXPECT_EQ(planMessageText(Message::finalBpmTooLow, 12, Language::Turkish),
              "Çıkış metronomu çok düşük.  Satır: 12");
    EXPECT_EQ(planMessageText(Message::planNameMissing, 0, Language::Turkish),
              "Meşk planına bir isim verin.  ");
    EXPECT_EQ(planMessageText(Message::none, 3, Language::English), "");
}

TEST(PlanName, FoldedTrimmedFileNameAndTheNameShownForAFile) {
    EXPECT_EQ(toUtf8(planFileName(U"  Şarkı Ölçü  ")), "Sarki Olcu.txt");
    EXPECT_EQ(toUtf8(foldPlanName(U"ıİÇçŞşÖöÜüĞğ")), "iICcSsOoUuGg");
    // Other characters, also non-Turkish letters and ones no file name allows, are kept.
    EXPECT_EQ(toUtf8(foldPlanName(U"Âşık/Veysel:\t ")), "Âsik/Veysel:\t");
    EXPECT_EQ(toUtf8(planFileName(U"   ")), ".txt");
    const std::pair<std::u32string, std::u32string> shown[] = {{U"Sarki Olcu.txt", U"Sarki Olcu"},
                                                               {U"a.txt.txt", U"a"},
                                                               {U"A.TXT", U"A.TXT"},
                                                               {U"x.txtplan.txt", U"xplan"},
                                                               {U"..txttxt", U".txt"}};
    for (const auto& [file, name] : shown)
        EXPECT_EQ(planNameFromFileName(file), name);
}

TEST(PlanLibrary, ReaderGivesLastUsedCircleOfASlot) {
    const zerkavi::testing::TemporaryFolder dir;
    const auto path = dir.path() / kLibraryFileName;
    ASSERT_TRUE(createLibraryIfMissing(path, defaultLibraryImage()));
    LibraryFile lib;
    ASSERT_TRUE(lib.open(path));
    const LastCircleOfSlot last = lastCircleReader(lib);
    EXPECT_EQ(last(165), MevcutHalka(builtIn(165)));
    EXPECT_EQ(std::vector<int>({last(0), last(-5), last(300)}), std::vector<int>(3, 0));
}
