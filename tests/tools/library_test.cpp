// The library compiler's refusals, and the rules every row of the built-in library keeps.
// docs/usuls.md lists every row's name, metre and strokes, and is compared with the source
// here, so nothing below retypes a row.
#include "common/text_codec.h"
#include "notation/duration_ops.h"
#include "notation/layout.h"
#include "tests/support/golden.h"
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

const std::string kSemai = block(4, "Semai", "3/8", "D8:3:Düm T8:2:Tek T8:1:Tek");

} // namespace

// Sources the compiler takes or refuses, against tests/golden/library-refusals.txt: each
// source's first line and the errors it gets.
TEST(LibraryRowsGolden, RefusesWhatCannotBeRight) {
    const std::string sources[] = {
        block(1, "A", "2/4", "D16:3:Düm T16:1:Tek"),
        block(1, "Kısa", "3/4", "D16:3 T16:1"),
        block(1, "A", "2/4", "D20:3 T12:1"),
        block(1, "A", "2/4", "D16:3:Bum T16:1"),
        block(1, "A", "2/4", "D16:4 T16:1"),
        "[1] \"A\" 2/4\nspacing 8\nstrokes D16:3 T16:1\n",
        block(1, "A", "2/4", "| D16:3 T16:1"),
        // At spacing 1 there is no empty circle for the bar line to stand on.
        block(1, "A", "2/4", "D16:3 | T16:1", "1"),
        block(1, "A", "64/1", wholes(64), "63"),
        "[300] \"A\" 2/4\n",
        // One chain of strokes for two usuls is a copy; the same usul at another mertebe and
        // in its velveleli form may share it.
        kSemai + block(5, "Zeybek", "3/8", "D8:3:Düm T8:2:Tek T8:1:Tek"),
        block(1, "Fer v.", "16/4", "D64:3:Düm D64:3:Düm D64:3:Düm D64:3:Düm") +
            block(2, "Ağır Fer (yeni)  v.", "32/8", "D64:3:Düm D64:3:Düm D64:3:Düm D64:3:Düm"),
        // Velvele adds strokes; Te Ke in place of the weak Tek moves it to the other hand.
        kSemai + block(7, "Semai v.", "3/8", "D8:3:Düm T8:2:Tek D4:1:Te T4:1:Ke"),
        kSemai + block(7, "Semai v.", "3/8", "D8:3:Düm T8:2:Tek T4:1:Tek T4:1:Kâ"),
    };
    std::string out;
    for (const std::string& text : sources) {
        for (std::size_t at = 0, end; (end = text.find('\n', at)) != text.npos; at = end + 1)
            if (text.compare(at, 6, "source") != 0) out += text.substr(at, end - at) + "; ";
        out += '\n';
        for (const std::string& e : compileLibrary(text).errors)
            out += "  " + e + '\n';
    }
    EXPECT_TRUE(zerkavi::testing::matchesGolden("library-refusals.txt", out));
}

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
