#include "notation/duration_ops.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

using namespace zerkavi;

namespace {

const HalvingTable kTable = TabloYap();

// Düm strokes of these lengths in circles 1, 2, 3, … (spacing without gaps).
UsulRecord chain(const std::vector<int>& lengths) {
    UsulRecord r;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        Halka& h = r.circles[i];
        h.rightDuration = std::uint8_t(lengths[i]);
        h.level = 2;
        h.syllable = U"Düm";
    }
    return r;
}

std::vector<int> strokeCircles(const UsulRecord& r) {
    std::vector<int> at;
    for (int k = 1; k <= kCircles; ++k)
        if (r.circle(k).hasStroke()) at.push_back(k);
    return at;
}

std::vector<int> barLineCircles(const UsulRecord& r) {
    std::vector<int> at;
    for (int k = 1; k <= kCircles; ++k)
        if (r.circle(k).barLine != 0) at.push_back(k);
    return at;
}

using Circles = std::vector<int>;

} // namespace

// Expand, Compress and Auto-Layout of a chain of Düms: whether the layout changed, where
// its second stroke stands and its last circle.
enum class Op { Expand, Compress, Auto };
struct LayoutCase {
    std::vector<int> lengths;
    int spacing; // 0: as chained, without gaps
    Op op;
    int times;
    bool changed;
    int second, last;
};
class Relayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Relayout, TakesTheNextSpacingThatFits) {
    const LayoutCase& c = GetParam();
    UsulRecord r = chain(c.lengths);
    if (c.spacing) YeniDizilim(kTable, r, c.spacing, int(c.lengths.size()));
    const UsulRecord before = r;
    bool changed = false;
    for (int i = 0; i < c.times; ++i)
        changed = c.op == Op::Expand     ? expandLayout(kTable, r)
                  : c.op == Op::Compress ? compressLayout(kTable, r)
                                         : autoLayout(kTable, r);
    EXPECT_EQ(changed, c.changed);
    if (!changed) {
        EXPECT_EQ(r, before);
    }
    const Circles at = strokeCircles(r);
    EXPECT_EQ(at.size() > 1 ? at[1] : 0, c.second);
    EXPECT_EQ(MevcutHalka(r), c.last);
}

std::vector<int> quartersThen(int quarters, std::vector<int> rest) {
    rest.insert(rest.begin(), std::size_t(quarters), 16);
    return rest;
}

INSTANTIATE_TEST_SUITE_P(
    Chains, Relayout,
    ::testing::Values(
        // Spacings 2..5 still give quarters no gap; 6 gives them one empty circle, 11 two.
        LayoutCase{{16, 16, 16, 8}, 0, Op::Expand, 1, true, 3, 7},
        LayoutCase{{16, 16, 16, 8}, 0, Op::Expand, 2, true, 4, 10},
        // Past circle 180 nothing happens; exactly 180 is taken, which Auto-Layout, ending
        // strictly before 180, does not take.
        LayoutCase{quartersThen(100, {}), 0, Op::Expand, 1, false, 2, 100},
        LayoutCase{quartersThen(89, {8, 8}), 0, Op::Expand, 1, true, 3, 180},
        LayoutCase{quartersThen(89, {8, 8}), 0, Op::Auto, 1, true, 2, 91},
        // At the widest spacing, 9 circles a quarter; compressing goes one step narrower.
        LayoutCase{{16, 16, 16, 16}, 63, Op::Compress, 1, true, 9, 25},
        LayoutCase{{16, 16, 16, 16}, 63, Op::Compress, 2, true, 8, 22},
        LayoutCase{{16, 8, 8, 32}, 0, Op::Compress, 1, false, 2, 4},
        LayoutCase{{}, 0, Op::Expand, 1, false, 0, 0},
        LayoutCase{{}, 0, Op::Compress, 1, false, 0, 0},
        // 20 quarters fit at spacing 63; 21 would end at 181, so 8 circles a quarter.
        LayoutCase{quartersThen(20, {}), 0, Op::Auto, 1, true, 10, 172},
        LayoutCase{quartersThen(21, {}), 0, Op::Auto, 1, true, 9, 161},
        LayoutCase{std::vector<int>(180, 2), 0, Op::Auto, 1, false, 2, 180}));

TEST(AutoLayout, BarLinesFollowTheirStrokesTheLastGoesAndClearingEmptiesTheCircles) {
    UsulRecord r = chain({16});
    r.circle(5).rightDuration = 16;
    r.circle(9).leftDuration = 16;
    r.circle(2).barLine = 1; // circle 3 is empty: moves to 4, just before circle 5
    r.circle(8).barLine = 1; // just before circle 9: stays
    r.circle(9).barLine = 7; // after the last stroke: goes away
    UsulRecord moved = r;
    normaliseBarLines(moved, MevcutHalka(moved));
    EXPECT_EQ(barLineCircles(moved), (Circles{4, 8}));
    // Laid out at the widest spacing, the bar lines stay just before their strokes; a second
    // Auto-Layout gives the same layout.
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(strokeCircles(r), (Circles{1, 10, 19}));
    EXPECT_EQ(r.circle(19).leftDuration, 16);
    EXPECT_EQ(barLineCircles(r), (Circles{9, 18}));
    const UsulRecord once = r;
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(r, once);
    // A full usul is not laid out, but circle 181 counts as empty for its last bar line.
    r = chain(std::vector<int>(180, 2));
    r.circle(5).barLine = r.circle(180).barLine = 1;
    EXPECT_FALSE(autoLayout(kTable, r));
    EXPECT_EQ(barLineCircles(r), (Circles{5}));
    // Clearing empties every circle at level 2 and keeps the header; laid out, an empty usul
    // becomes all empty circles with level 0.
    r.name = fixedText(U"Düyek", kNameChars);
    r.numerator = 8;
    UsulRecord cleared = r;
    cleared.circles.fill(Halka{0, 0, 2, U"   ", 0, 0, 0});
    clearCircles(r);
    EXPECT_EQ(r, cleared);
    r.circle(4).barLine = 1;
    ASSERT_TRUE(autoLayout(kTable, r));
    for (const Halka& h : r.circles)
        EXPECT_EQ(h, Halka{});
}

TEST(ReLayout, BothStrokesKeepTheDumAndAFirstTekInCircle3MovesToCircle1) {
    UsulRecord r = chain({16, 8});
    r.circle(1).leftDuration = 8;
    r.circle(1).level = 3;
    r.circle(1).syllable = U"Dü ";
    ASSERT_TRUE(expandLayout(kTable, r));
    EXPECT_EQ(r.circle(1), (Halka{16, 0, 3, U"Dü ", 0, 0, 0}));
    r = UsulRecord{};
    r.circle(3).leftDuration = 16;
    r.circle(2).barLine = 1;
    r.circle(5).rightDuration = 8;
    YeniDizilim(kTable, r, 1, MevcutHalka(r));
    EXPECT_EQ(std::pair(int(r.circle(1).leftDuration), int(r.circle(2).rightDuration)),
              std::pair(16, 8));
    EXPECT_TRUE(barLineCircles(r).empty());
}

// Doubling refuses any whole note, dotted or not, in either hand, or a length past a byte;
// halving refuses any 2, 3 or 7. A refusal changes nothing.
TEST(Scaling, RefusalsChangeNothing) {
    const std::tuple<Scaling, int, bool> cases[] = {
        {Scaling::Double, 64, true},  {Scaling::Double, 96, false}, {Scaling::Double, 112, true},
        {Scaling::Double, 200, true}, {Scaling::Halve, 2, false},   {Scaling::Halve, 3, true},
        {Scaling::Halve, 7, false}};
    for (const auto& [how, length, dum] : cases) {
        UsulRecord r = chain({8, 16});
        (dum ? r.circle(120).rightDuration : r.circle(120).leftDuration) = std::uint8_t(length);
        const UsulRecord before = r;
        EXPECT_EQ(scaleDurations(r, how), ScalingResult::Refused) << length;
        EXPECT_EQ(r, before);
    }
}

std::vector<int> lengthsOf(const UsulRecord& r, int circles) {
    std::vector<int> l;
    for (int k = 1; k <= circles; ++k)
        l.insert(l.end(), {r.circle(k).rightDuration, r.circle(k).leftDuration});
    return l;
}

TEST(Scaling, HalvingRoundsTiesToEvenDoublingDoubles) {
    UsulRecord r = chain({5, 1, 6, 9, 16, 112});
    r.circle(2).leftDuration = 11;
    r.circle(3).barLine = 1;
    r.numerator = 9;
    ASSERT_EQ(scaleDurations(r, Scaling::Halve), ScalingResult::Scaled);
    // 2.5 -> 2, 0.5 -> 0 (the stroke goes), 5.5 -> 6, 4.5 -> 4.
    EXPECT_EQ(lengthsOf(r, 6), (std::vector<int>{2, 0, 0, 6, 3, 0, 4, 0, 8, 0, 56, 0}));
    EXPECT_EQ(std::pair(int(r.circle(3).barLine), int(r.numerator)), std::pair(1, 9));
    r = chain({3, 56, 1});
    r.circle(2).leftDuration = 24;
    ASSERT_EQ(scaleDurations(r, Scaling::Double), ScalingResult::Scaled);
    EXPECT_EQ(lengthsOf(r, 3), (std::vector<int>{6, 0, 112, 48, 2, 0}));
    // Now a dotted whole note stands in the way.
    EXPECT_EQ(scaleDurations(r, Scaling::Double), ScalingResult::Refused);
}

// Note menu items 0..6 set the Düm, 8..14 the Tek (7 is the separator); an item clears the
// loudness and the syllable. Without a current circle no menu does anything.
TEST(Menus, EachNoteItemSetsOneHandAndClearsLoudnessAndSyllable) {
    const std::array<int, 3> items[] = {{0, 2, 8}, {5, 64, 8}, {6, 0, 8}, {8, 24, 0}, {14, 24, 2}};
    for (const auto& [index, right, left] : items) {
        UsulRecord r;
        r.circle(50) = Halka{24, 8, 3, U"Tek", 1, 0, 0};
        ASSERT_TRUE(chooseNote(r, 50, index)) << index;
        EXPECT_EQ(r.circle(50),
                  (Halka{std::uint8_t(right), std::uint8_t(left), 0, U"   ", 1, 0, 0}))
            << "item " << index;
    }
    UsulRecord r = chain({16});
    const UsulRecord before = r;
    EXPECT_FALSE(chooseNote(r, 1, 7) || chooseNote(r, 0, 3) || chooseSyllable(r, 0, 2));
    EXPECT_EQ(r, before);
    ASSERT_TRUE(chooseSyllable(r, 1, 5));
    EXPECT_EQ(r.circle(1).syllable, U"Kâ ");
}

TEST(Press, GesturesByBandAndButton) {
    UsulRecord r;
    Halka& h = r.circle(7); // X 160; its gap at X 170
    const auto press = [&r](double x, double y, bool primary) {
        const PressHit hit = hitTestPress(x, y);
        const PressAction action = pressAction(hit, primary);
        applyPress(r, hit.circle, action);
        return action;
    };
    // The gap, with either button: 1 becomes 0, anything else 1.
    std::vector<int> bars;
    for (int before : {0, 1, 5})
        bars.push_back((h.barLine = std::uint8_t(before), press(170, 75, before != 1), h.barLine));
    EXPECT_EQ(bars, (std::vector<int>{1, 0, 1}));
    // Right button on the Düm band of an empty circle leaves it empty; the left button
    // cycles the loudness on either staff band.
    press(160, 60, false);
    EXPECT_FALSE(h.hasStroke());
    std::vector<int> levels;
    for (double y : {60.0, 90.0, 55.0, 95.0, 67.0})
        levels.push_back((press(160, y, true), h.level));
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3, 0, 1}));
    // Right button on the Tek band cycles the Tek dots only.
    h.leftDuration = 16;
    h.rightDuration = 8;
    press(160, 84, false);
    press(160, 88, false);
    EXPECT_EQ(std::pair(int(h.rightDuration), int(h.leftDuration)), std::pair(8, 28));
    // The circle band opens the menus and changes nothing by itself.
    const UsulRecord before = r;
    EXPECT_EQ(std::vector<PressAction>(
                  {press(160, 75, true), press(160, 75, false), press(34, 75, true)}),
              (std::vector<PressAction>{PressAction::OpenNoteMenu, PressAction::OpenSyllableMenu,
                                        PressAction::None}));
    EXPECT_EQ(r, before);
}
