#include "common/text_codec.h"
#include "notation/duration_ops.h"
#include "notation/layout.h"
#include "tests/support/support.h"
#include "tools/library_source.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace zerkavi;
using zerkavi::testing::builtIn;

namespace {

struct Stroke {
    int circle;
    char hand; // 'D' or 'T'
    int length, level;
    const char* syllable;
};

void expectStrokes(int slot, std::initializer_list<Stroke> strokes,
                   std::initializer_list<int> bars) {
    const UsulRecord r = builtIn(slot);
    std::vector<bool> used(kCircles + 1, false);
    for (const Stroke& s : strokes) {
        const Halka& h = r.circle(s.circle);
        used[std::size_t(s.circle)] = true;
        EXPECT_EQ(s.hand == 'D' ? h.rightDuration : h.leftDuration, s.length)
            << "slot " << slot << " circle " << s.circle;
        EXPECT_EQ(s.hand == 'D' ? h.leftDuration : h.rightDuration, 0);
        EXPECT_EQ(h.level, s.level) << "slot " << slot << " circle " << s.circle;
        EXPECT_EQ(h.syllable, fixedText(fromUtf8(s.syllable), 3))
            << "slot " << slot << " circle " << s.circle;
    }
    for (int k = 1; k <= kCircles; ++k) {
        const bool bar = std::find(bars.begin(), bars.end(), k) != bars.end();
        EXPECT_EQ(r.circle(k).barLine, bar ? 1 : 0) << "slot " << slot << " circle " << k;
        if (!used[std::size_t(k)]) {
            EXPECT_FALSE(r.circle(k).hasStroke()) << "slot " << slot << " circle " << k;
        }
    }
}

} // namespace

// Names, time signatures and strokes of every usul are pinned by docs/usuls.md (below); these
// two add the bar lines and the demo slot, which that list does not show.
TEST(DefaultLibrary, TellingRows) {
    ASSERT_EQ(defaultLibraryImage().size(), 431104u);
    expectStrokes(164, {{1, 'D', 32, 3, "Düm"},  {6, 'D', 16, 2, "Te"},   {9, 'T', 16, 1, "Ke"},
                        {12, 'D', 32, 3, "Düm"}, {17, 'T', 32, 2, "Tek"}, {22, 'D', 32, 3, "Düm"},
                        {27, 'D', 32, 2, "Düm"}, {32, 'T', 32, 3, "Tek"}, {37, 'D', 16, 2, "Te"},
                        {40, 'T', 16, 1, "Ke"},  {43, 'D', 32, 3, "Düm"}, {48, 'T', 32, 2, "Tek"},
                        {53, 'D', 16, 2, "Te"},  {56, 'T', 16, 1, "Ke"},  {59, 'D', 32, 3, "Düm"},
                        {64, 'T', 32, 3, "Ta"},  {69, 'D', 32, 2, "Hek"}, {74, 'D', 16, 3, "Te"},
                        {77, 'T', 16, 1, "Ke"},  {80, 'D', 16, 2, "Te"},  {83, 'T', 16, 1, "Ke"}},
                  {11, 21, 31, 42, 52, 63, 73});
    expectStrokes(255,
                  {{1, 'D', 16, 3, ""},
                   {2, 'D', 16, 2, ""},
                   {3, 'D', 16, 1, ""},
                   {4, 'T', 16, 3, ""},
                   {5, 'T', 16, 2, ""},
                   {6, 'T', 16, 1, ""}},
                  {});
    EXPECT_EQ(builtIn(164).totalLength, 512);
    EXPECT_EQ(builtIn(255).totalLength, 96);
    EXPECT_EQ(builtIn(255).name, fixedText(fromUtf8("Darp şiddeti demo"), 40));
    EXPECT_EQ(builtIn(255).numerator, 12);
    EXPECT_EQ(builtIn(255).mertebe, 8);
}

TEST(DefaultLibrary, EmptySlotsUserExamplesAndColour) {
    for (int slot = 187; slot <= 254; ++slot) {
        const UsulRecord r = builtIn(slot);
        if (slot >= 231 && slot <= 233) continue;
        EXPECT_EQ(r, emptyRecord()) << "slot " << slot;
    }
    const UsulRecord m1 = builtIn(231), m2 = builtIn(232), d = builtIn(233);
    EXPECT_EQ(m1.name, fixedText(U"Müsemmen v.", 40));
    EXPECT_EQ(m2.name, fixedText(U"Müsemmen v.", 40));
    EXPECT_EQ(d.name, fixedText(U"Düyek v.", 40));
    for (const UsulRecord* r : {&m1, &m2, &d}) {
        EXPECT_EQ(r->numerator, 8);
        EXPECT_EQ(r->mertebe, 8);
    }
    RecordBytes b{};
    std::copy_n(defaultLibraryImage().end() - kRecordBytes, kRecordBytes, b.begin());
    const ColourRecord c = decodeColour(b);
    EXPECT_EQ(c.red, 200);
    EXPECT_EQ(c.green, 185);
    EXPECT_EQ(c.blue, 130);
    for (std::uint8_t f : c.filler)
        ASSERT_EQ(f, 0);
}

TEST(LibrarySource, RefusesWhatCannotBeRight) {
    auto errorsOf = [](const std::string& text) { return compileLibrary(text).errors; };
    const std::string ok = "[1] \"A\" 2/4\nspacing 8\nstrokes D16:3:Düm T16:1:Tek\nsource test\n";
    EXPECT_TRUE(errorsOf(ok).empty());
    const auto shortOne = errorsOf("[1] \"Kısa\" 3/4\nspacing 8\nstrokes D16:3 T16:1\nsource t\n");
    ASSERT_EQ(shortOne.size(), 1u);
    EXPECT_NE(shortOne[0].find("Kısa"), std::string::npos);
    EXPECT_NE(shortOne[0].find("asks for 48"), std::string::npos);
    EXPECT_FALSE(errorsOf("[1] \"A\" 2/4\nspacing 8\nstrokes D20:3 T12:1\nsource t\n").empty());
    EXPECT_FALSE(errorsOf("[1] \"A\" 2/4\nspacing 8\nstrokes D16:3:Bum T16:1\nsource t\n").empty());
    EXPECT_FALSE(errorsOf("[1] \"A\" 2/4\nspacing 8\nstrokes D16:4 T16:1\nsource t\n").empty());
    EXPECT_FALSE(errorsOf("[1] \"A\" 2/4\nspacing 8\nstrokes D16:3 T16:1\n").empty());
    EXPECT_FALSE(errorsOf("[1] \"A\" 2/4\nspacing 8\nstrokes | D16:3 T16:1\nsource t\n").empty());
    // At spacing 1 there is no empty circle for the bar line to stand on.
    EXPECT_FALSE(errorsOf("[1] \"A\" 2/4\nspacing 1\nstrokes D16:3 | T16:1\nsource t\n").empty());
    // 64 wholes at the widest spacing run far past circle 180.
    std::string longOne = "[1] \"A\" 64/1\nspacing 63\nstrokes";
    for (int i = 0; i < 64; ++i)
        longOne += " D64:3";
    EXPECT_FALSE(errorsOf(longOne + "\nsource t\n").empty());
    EXPECT_FALSE(errorsOf("[300] \"A\" 2/4\n").empty());
}

TEST(Layout, HalvingTableTellingRows) {
    const HalvingTable t = TabloYap();
    const std::pair<int, std::array<int, 6>> rows[] = {
        {1, {0, 0, 0, 0, 0, 0}},    {2, {1, 0, 0, 0, 0, 0}},   {3, {2, 1, 0, 0, 0, 0}},
        {6, {3, 2, 1, 0, 0, 0}},    {12, {6, 3, 2, 1, 0, 0}},  {24, {12, 6, 3, 2, 1, 0}},
        {48, {24, 12, 6, 3, 2, 1}}, {63, {32, 16, 8, 4, 2, 1}}};
    for (const auto& [k, cols] : rows)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(t[std::size_t(k)][std::size_t(c)], cols[std::size_t(c)])
                << "k " << k << " column " << c;
}

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(DefaultLibrary, EveryBuiltInUsulIsCompleteAndSourced) {
    const CompileResult compiled =
        compileLibrary(readText(ZERKAVI_SOURCE_DIR "/assets/library/usuls.txt"));
    ASSERT_TRUE(compiled.errors.empty());
    int sourced = 0;
    for (int slot = 1; slot <= 186; ++slot) {
        const UsulRecord r = builtIn(slot);
        EXPECT_GT(r.totalLength, 0) << "slot " << slot;
        EXPECT_EQ(r.totalLength, expectedLength(r.numerator, r.mertebe)) << "slot " << slot;
        EXPECT_EQ(r.totalLength, sumOfStrokes(r)) << "slot " << slot;
        EXPECT_EQ(r.circle(1).hasStroke(), true) << "slot " << slot;
        for (const Halka& h : r.circles) {
            ASSERT_FALSE(h.rightDuration != 0 && h.leftDuration != 0) << "slot " << slot;
            if (h.barLine) {
                ASSERT_FALSE(h.hasStroke()) << "slot " << slot;
            }
        }
        for (const SourceUsul& u : compiled.source.usuls) {
            if (u.slot != slot) continue;
            ++sourced;
            EXPECT_FALSE(u.source.empty()) << "slot " << slot;
        }
    }
    EXPECT_EQ(sourced, 186);
    // The longest usul reaches the last circle exactly.
    EXPECT_EQ(MevcutHalka(builtIn(158)), 180);
}

TEST(DefaultLibrary, UsulListDocumentMatchesTheSource) {
    const CompileResult compiled =
        compileLibrary(readText(ZERKAVI_SOURCE_DIR "/assets/library/usuls.txt"));
    ASSERT_TRUE(compiled.errors.empty());
    const std::string expected = libraryDocument(compiled);
    EXPECT_EQ(readText(ZERKAVI_SOURCE_DIR "/docs/usuls.md"), expected)
        << "docs/usuls.md is out of date: cmake --build build --target update_docs";
    EXPECT_NE(expected.find("| 32 | Düyek | 8/8 | given | 40 | 19 | D8:2:Düm T16:3:Tek T8:2:Tek "
                            "D16:3:Düm T16:1:Tek |"),
              std::string::npos);
    // The embedded image is the compiled source.
    EXPECT_TRUE(std::equal(compiled.image.begin(), compiled.image.end(),
                           defaultLibraryImage().begin(), defaultLibraryImage().end()));
}

TEST(DefaultLibrary, EveryUsulSurvivesAutoLayoutAndCompress) {
    const HalvingTable table = TabloYap();
    auto strokesOf = [](const UsulRecord& r) {
        std::vector<std::tuple<int, int, int, std::u32string>> s;
        for (const Halka& h : r.circles)
            if (h.hasStroke()) s.emplace_back(h.rightDuration, h.leftDuration, h.level, h.syllable);
        return s;
    };
    for (int slot = 1; slot <= 186; ++slot) {
        UsulRecord r = builtIn(slot);
        const auto before = strokesOf(r);
        autoLayout(table, r);
        EXPECT_EQ(strokesOf(r), before) << "slot " << slot;
        EXPECT_LT(MevcutHalka(r), 180) << "slot " << slot;
        compressLayout(table, r);
        EXPECT_EQ(strokesOf(r), before) << "slot " << slot;
        EXPECT_EQ(sumOfStrokes(r), expectedLength(r.numerator, r.mertebe)) << "slot " << slot;
    }
}
