// The shapes a teacher relies on: the rebuilt rows of the built-in library, and the
// compiler's refusal of rows that would teach the wrong usul.
#include "common/text_codec.h"
#include "tools/library_source.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace zerkavi;

namespace {

std::vector<std::string> errorsOf(const std::string& text) {
    return compileLibrary(text).errors;
}

std::string block(int slot, const std::string& name, const std::string& time,
                  const std::string& strokes, const std::string& source = "reconstructed: t") {
    return "[" + std::to_string(slot) + "] \"" + name + "\" " + time + "\nspacing 8\nstrokes " +
           strokes + "\nsource " + source + "\n";
}

bool mentions(const std::vector<std::string>& errors, const std::string& what) {
    for (const auto& e : errors)
        if (e.find(what) != std::string::npos) return true;
    return false;
}

} // namespace

TEST(LibrarySource, RefusesOneChainForTwoUsulsAndVelveleThatMovesStrokes) {
    const std::string semai = block(4, "Semai", "3/8", "D8:3:Düm T8:2:Tek T8:1:Tek");
    // Same strokes, another usul.
    const auto twin = errorsOf(semai + block(5, "Zeybek", "3/8", "D8:3:Düm T8:2:Tek T8:1:Tek"));
    ASSERT_EQ(twin.size(), 1u);
    EXPECT_TRUE(mentions(twin, "slot 5 \"Zeybek\": same strokes as slot 4 \"Semai\""));
    // The same usul at another mertebe and in its velveleli form may share them.
    EXPECT_TRUE(
        errorsOf(block(1, "Fer v.", "16/4", "D64:3:Düm D64:3:Düm D64:3:Düm D64:3:Düm") +
                 block(2, "Ağır Fer (yeni)  v.", "32/8", "D64:3:Düm D64:3:Düm D64:3:Düm D64:3:Düm"))
            .empty());
    // Te Ke in place of the weak Tek moves it to the other hand.
    const auto moved =
        errorsOf(semai + block(7, "Semai v.", "3/8", "D8:3:Düm T8:2:Tek D4:1:Te T4:1:Ke"));
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_TRUE(mentions(moved, "loses the Tek at 16/64 of slot 4 \"Semai\""));
    EXPECT_TRUE(
        mentions(errorsOf(semai + block(7, "Semai v.", "3/8", "D16:3:Düm T4:2:Tek T4:1:Kâ")),
                 "loses the Tek at 8/64"));
    // Tek-kâ keeps the Tek and adds a stroke: accepted.
    EXPECT_TRUE(errorsOf(semai + block(7, "Semai v.", "3/8", "D8:3:Düm T8:2:Tek T4:1:Tek T4:1:Kâ"))
                    .empty());
    EXPECT_EQ(sourceKind("sourced: KRG"), "sourced");
    EXPECT_EQ(sourceKind("given (telling row)"), "given");
    EXPECT_EQ(sourceKind("derivedx"), "");
}

namespace {

std::string libraryText() {
    std::ifstream in(ZERKAVI_SOURCE_DIR "/assets/library/usuls.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

UsulRecord builtIn(int slot) {
    RecordBytes b{};
    std::copy_n(defaultLibraryImage().begin() + std::ptrdiff_t(slot - 1) * kRecordBytes,
                kRecordBytes, b.begin());
    return decodeRecord(b);
}

// Positions are counted as musicians count them: zaman 1 is the first beat of the cycle.
struct Shape {
    int slot;
    int darbs;
    std::vector<double> dums; // zaman of the strokes called Düm
    std::vector<double> bars; // zaman of the first stroke after each bar line
    std::vector<double> all;  // zaman of every stroke, where the row is short enough to list
};

void PrintTo(const Shape& s, std::ostream* os) {
    *os << "slot " << s.slot;
}

class RebuiltRow : public testing::TestWithParam<Shape> {};

} // namespace

TEST_P(RebuiltRow, HasItsShape) {
    const Shape& want = GetParam();
    const UsulRecord r = builtIn(want.slot);
    const double zaman = 64.0 / r.mertebe;
    std::vector<double> dums, bars, all;
    int t = 0;
    bool bar = false;
    for (const Halka& h : r.circles) {
        if (h.barLine) bar = true;
        if (!h.hasStroke()) continue;
        const double z = 1 + t / zaman;
        all.push_back(z);
        if (h.syllable == fixedText(U"Düm", 3)) dums.push_back(z);
        if (bar) bars.push_back(z);
        bar = false;
        t += h.strokeLength();
    }
    EXPECT_EQ(int(all.size()), want.darbs);
    EXPECT_EQ(dums, want.dums);
    EXPECT_EQ(bars, want.bars);
    if (!want.all.empty()) {
        EXPECT_EQ(all, want.all);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Library, RebuiltRow,
    testing::Values(
        // Aksak semai: 3+2+2+3, six darbs, Düms on 1, 6 and 8; kapalı closes the open Düm
        // of zaman 6 with a Tek, evferi swaps the last two lengths.
        Shape{62, 6, {1, 6, 8}, {4, 6, 8}, {1, 4, 6, 7, 8, 9}},
        Shape{64, 6, {1, 6, 8}, {4, 6, 8}, {1, 4, 5, 6, 8, 10}},
        // Lenk fahte: the long Düm limps to the 2nd darb on zaman 5, the 3rd on 6, the 4th
        // syncopated; the velvele rows keep those Düms and bar lines.
        Shape{67, 6, {1, 6, 9}, {6, 9}, {1, 5, 6, 7.5, 9, 10}},
        Shape{68, 10, {1, 6, 9}, {6, 9}, {}}, Shape{69, 15, {1, 6, 9}, {6, 9}, {}},
        Shape{70, 20, {1, 6, 9}, {6, 9}, {}},
        // Bektaşi raksanı: Türk aksağı (or its evferi) + aksak semai.
        Shape{115, 9, {1, 6, 11, 13}, {6, 9, 11, 13}, {1, 3, 5, 6, 9, 10, 11, 13, 14}},
        Shape{116, 9, {1, 6, 11, 13}, {6, 9, 11, 13}, {1, 3, 4, 6, 9, 10, 11, 13, 14}},
        Shape{117, 18, {1, 6, 11, 13}, {6, 9, 11, 13}, {}},
        // The three 32/8 excerpts, each from its own usul.
        Shape{178, 18, {1, 9, 13, 17, 21, 25}, {9, 17, 25}, {}},
        Shape{181, 21, {1, 9, 21}, {9, 21}, {}}, Shape{185, 20, {1, 9, 13, 25}, {9, 17, 25}, {}},
        // Remel yeni keeps the Düms of the eski form; Muzaaf Devr-i kebir is two velveleli
        // cycles of 28 quarter zaman.
        Shape{162, 21, {1, 5, 11, 15, 21, 23}, {5, 11, 15, 21, 25}, {}},
        Shape{
            158, 70, {1, 4, 6, 9, 15, 18, 20, 23}, {4, 6, 9, 11, 13, 15, 18, 20, 23, 25, 27}, {}}));

TEST(DefaultLibrary, EveryRowSaysHowSureItIs) {
    const CompileResult compiled = compileLibrary(libraryText());
    ASSERT_TRUE(compiled.errors.empty());
    for (const SourceUsul& u : compiled.source.usuls)
        EXPECT_NE(sourceKind(u.source), "") << "slot " << u.slot << ": " << u.source;
}

TEST(DefaultLibrary, VelveleAlternatesHandsInFastRuns) {
    // Three or more left-hand strokes in a row, each shorter than a zaman, cannot be
    // played cleanly on the small drum; velvele alternates the hands there (te-ke).
    const CompileResult compiled = compileLibrary(libraryText());
    ASSERT_TRUE(compiled.errors.empty());
    for (const SourceUsul& u : compiled.source.usuls) {
        const auto mark = u.name.find_last_of(' ');
        if (mark == std::string::npos ||
            u.name.find_first_not_of("v.", mark + 1) != std::string::npos)
            continue;
        const int zaman = 64 / u.mertebe;
        int run = 0;
        for (const SourceStroke& s : u.strokes) {
            run = !s.right && s.length < zaman ? run + 1 : s.right ? 0 : run;
            EXPECT_LT(run, 3) << "slot " << u.slot << " \"" << u.name << "\"";
        }
    }
}
