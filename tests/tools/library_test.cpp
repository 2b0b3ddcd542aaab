// The library compiler's refusals, and the rules every row of the built-in library keeps.
// docs/usuls.md lists every row's name, metre and strokes, and is compared with the source
// here, so nothing below retypes a row.
#include "common/text_codec.h"
#include "notation/duration_ops.h"
#include "notation/layout.h"
#include "tests/support/support.h"
#include "tools/library_source.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <set>

using namespace zerkavi;
using zerkavi::testing::builtIn;
using zerkavi::testing::readText;

namespace {

const CompileResult& compiledSource() {
    static const CompileResult c =
        compileLibrary(readText(ZERKAVI_SOURCE_DIR "/assets/library/usuls.txt"));
    return c;
}

std::string block(int slot, const std::string& name, const std::string& time,
                  const std::string& strokes, const std::string& spacing = "8") {
    return "[" + std::to_string(slot) + "] \"" + name + "\" " + time + "\nspacing " + spacing +
           "\nstrokes " + strokes + "\nsource reconstructed: t\n";
}

std::string wholes(int n) {
    std::string s;
    while (n--)
        s += " D64:3";
    return s;
}

struct SourceCase {
    std::string text;
    const char* error; // a part of the one error expected; nullptr: accepted
};
class LibraryRows : public ::testing::TestWithParam<SourceCase> {};

const std::string kSemai = block(4, "Semai", "3/8", "D8:3:Düm T8:2:Tek T8:1:Tek");

} // namespace

TEST_P(LibraryRows, RefusesWhatCannotBeRight) {
    const auto errors = compileLibrary(GetParam().text).errors;
    if (!GetParam().error) {
        EXPECT_TRUE(errors.empty()) << errors.front();
        return;
    }
    ASSERT_FALSE(errors.empty()) << GetParam().text;
    EXPECT_NE(errors[0].find(GetParam().error), std::string::npos) << errors[0];
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LibraryRows,
    ::testing::Values(
        SourceCase{block(1, "A", "2/4", "D16:3:Düm T16:1:Tek"), nullptr},
        SourceCase{block(1, "Kısa", "3/4", "D16:3 T16:1"),
                   "\"Kısa\": strokes add up to 32 64ths, the time signature asks for 48"},
        SourceCase{block(1, "A", "2/4", "D20:3 T12:1"), "length not allowed"},
        SourceCase{block(1, "A", "2/4", "D16:3:Bum T16:1"), "unknown syllable"},
        SourceCase{block(1, "A", "2/4", "D16:4 T16:1"), "level must be 0..3"},
        SourceCase{"[1] \"A\" 2/4\nspacing 8\nstrokes D16:3 T16:1\n", "no source line"},
        SourceCase{block(1, "A", "2/4", "| D16:3 T16:1"), "cannot stand before the first stroke"},
        // At spacing 1 there is no empty circle for the bar line to stand on.
        SourceCase{block(1, "A", "2/4", "D16:3 | T16:1", "1"),
                   "has no empty circle before its stroke"},
        SourceCase{block(1, "A", "64/1", wholes(64), "63"), "strokes run past circle 180"},
        SourceCase{"[300] \"A\" 2/4\n", "slot"},
        // One chain of strokes for two usuls is a copy; the same usul at another mertebe and
        // in its velveleli form may share it.
        SourceCase{kSemai + block(5, "Zeybek", "3/8", "D8:3:Düm T8:2:Tek T8:1:Tek"),
                   "slot 5 \"Zeybek\": same strokes as slot 4 \"Semai\""},
        SourceCase{
            block(1, "Fer v.", "16/4", "D64:3:Düm D64:3:Düm D64:3:Düm D64:3:Düm") +
                block(2, "Ağır Fer (yeni)  v.", "32/8", "D64:3:Düm D64:3:Düm D64:3:Düm D64:3:Düm"),
            nullptr},
        // Velvele adds strokes; Te Ke in place of the weak Tek moves it to the other hand.
        SourceCase{kSemai + block(7, "Semai v.", "3/8", "D8:3:Düm T8:2:Tek D4:1:Te T4:1:Ke"),
                   "loses the Tek at 16/64 of slot 4 \"Semai\""},
        SourceCase{kSemai + block(7, "Semai v.", "3/8", "D8:3:Düm T8:2:Tek T4:1:Tek T4:1:Kâ"),
                   nullptr}));

// The image itself is what the build made of the same source with the same compiler.
TEST(DefaultLibrary, TheUsulListIsTheCompiledSource) {
    const CompileResult& compiled = compiledSource();
    ASSERT_TRUE(compiled.errors.empty());
    EXPECT_EQ(readText(ZERKAVI_SOURCE_DIR "/docs/usuls.md"), libraryDocument(compiled))
        << "docs/usuls.md is out of date: cmake --build build --target update_docs";
    // Slots the source leaves out are empty.
    std::set<int> listed;
    for (const SourceUsul& u : compiled.source.usuls)
        listed.insert(u.slot);
    for (int slot = 1; slot <= kLastUsulSlot; ++slot)
        if (!listed.count(slot)) {
            EXPECT_EQ(builtIn(slot), emptyRecord()) << "slot " << slot;
        }
}

// Lengths, hands and bar lines of every row are the compiler's refusals above.
TEST(DefaultLibrary, EveryRowIsSourcedAndPlayable) {
    const HalvingTable table = TabloYap();
    auto strokesOf = [](const UsulRecord& r) {
        std::vector<std::tuple<int, int, int, std::u32string>> s;
        for (const Halka& h : r.circles)
            if (h.hasStroke()) s.emplace_back(h.rightDuration, h.leftDuration, h.level, h.syllable);
        return s;
    };
    for (const SourceUsul& u : compiledSource().source.usuls) {
        SCOPED_TRACE("slot " + std::to_string(u.slot) + " \"" + u.name + "\"");
        EXPECT_NE(sourceKind(u.source), "") << u.source;
        UsulRecord r = builtIn(u.slot);
        // Three or more left-hand strokes in a row, each shorter than a zaman, cannot be
        // played cleanly on the small drum: velvele alternates the hands there.
        const auto mark = u.name.find_last_of(' ');
        int run = 0;
        if (mark != std::string::npos && u.name.find_first_not_of("v.", mark + 1) == u.name.npos)
            for (const SourceStroke& s : u.strokes) {
                run = s.right ? 0 : s.length < 64 / u.mertebe ? run + 1 : run;
                EXPECT_LT(run, 3);
            }
        if (u.slot > 186) continue; // the user-area examples and the demo
        // Re-laying out keeps every stroke and ends before circle 180.
        const auto before = strokesOf(r);
        autoLayout(table, r);
        EXPECT_EQ(strokesOf(r), before);
        EXPECT_LT(MevcutHalka(r), 180);
        compressLayout(table, r);
        EXPECT_EQ(strokesOf(r), before);
    }
    EXPECT_EQ(MevcutHalka(builtIn(158)), 180); // the longest usul reaches the last circle
}
