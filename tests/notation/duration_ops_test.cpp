#include "notation/duration_ops.h"

#include <gtest/gtest.h>

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

UsulRecord quarters(int count, int spacing) {
    UsulRecord r = chain(std::vector<int>(std::size_t(count), 16));
    YeniDizilim(kTable, r, spacing, count);
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

// ---- expand and compress ------------------------------------------------------------------

TEST(Expand, TakesTheNextSpacingThatLengthensTheLayout) {
    UsulRecord r = chain({16, 16, 16, 8});
    ASSERT_TRUE(expandLayout(kTable, r));
    // Spacings 2..5 still give quarters no gap; 6 gives them one empty circle.
    EXPECT_EQ(strokeCircles(r), (Circles{1, 3, 5, 7}));
    ASSERT_TRUE(expandLayout(kTable, r));
    EXPECT_EQ(MevcutHalka(r), 10); // spacing 11: quarters 2 empty circles, eighths 1
    EXPECT_EQ(r.circle(10).rightDuration, 8);
}

TEST(Expand, DoesNothingWhenTheNextLayoutWouldPassCircle180) {
    UsulRecord r = chain(std::vector<int>(100, 16)); // next layout: 199 circles
    const UsulRecord before = r;
    EXPECT_FALSE(expandLayout(kTable, r));
    EXPECT_EQ(r, before);
}

TEST(Expand, AcceptsALayoutEndingExactlyAtCircle180) {
    std::vector<int> lengths(89, 16);
    lengths.push_back(8);
    lengths.push_back(8);
    UsulRecord r = chain(lengths); // at spacing 6: quarters 1, 3, …, 177, eighths 179, 180
    ASSERT_TRUE(expandLayout(kTable, r));
    EXPECT_EQ(MevcutHalka(r), 180);
    // Auto-Layout wants to end strictly before 180, so it goes back to the packed layout.
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(MevcutHalka(r), 91);
}

TEST(Compress, AChainOfQuartersAtTheWidestSpacingGoesOneStepNarrower) {
    UsulRecord r = quarters(4, 63);
    ASSERT_EQ(strokeCircles(r), (Circles{1, 10, 19, 28})); // 9 circles per stroke
    ASSERT_TRUE(compressLayout(kTable, r));
    EXPECT_EQ(strokeCircles(r), (Circles{1, 9, 17, 25}));
    ASSERT_TRUE(compressLayout(kTable, r));
    EXPECT_EQ(strokeCircles(r), (Circles{1, 8, 15, 22}));
}

TEST(Compress, APackedUsulStaysAsItIs) {
    UsulRecord r = chain({16, 8, 8, 32});
    const UsulRecord before = r;
    EXPECT_FALSE(compressLayout(kTable, r));
    EXPECT_EQ(r, before);
}

TEST(ExpandAndCompress, AnEmptyUsulIsLeftAlone) {
    UsulRecord r;
    clearCircles(r);
    const UsulRecord before = r;
    EXPECT_FALSE(expandLayout(kTable, r));
    EXPECT_FALSE(compressLayout(kTable, r));
    EXPECT_EQ(r, before);
}

// ---- Auto-Layout --------------------------------------------------------------------------

TEST(AutoLayout, BarLinesMoveToJustBeforeTheNextStroke) {
    UsulRecord r = chain({16});
    r.circle(5).rightDuration = 16;
    r.circle(9).leftDuration = 16;
    r.circle(2).barLine = 1; // circle 3 is empty: moves to 4, just before circle 5
    r.circle(8).barLine = 1; // just before circle 9: stays
    r.circle(9).barLine = 7; // after the last stroke: goes away
    normaliseBarLines(r, MevcutHalka(r));
    EXPECT_EQ(barLineCircles(r), (Circles{4, 8}));
}

TEST(AutoLayout, LaysOutAtTheWidestSpacingAndKeepsBarLinesBeforeStrokes) {
    UsulRecord r = chain({16});
    r.circle(5).rightDuration = 16;
    r.circle(9).leftDuration = 16;
    r.circle(2).barLine = 1;
    r.circle(8).barLine = 1;
    r.circle(9).barLine = 1;
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(strokeCircles(r), (Circles{1, 10, 19}));
    EXPECT_EQ(r.circle(19).leftDuration, 16);
    EXPECT_EQ(barLineCircles(r), (Circles{9, 18}));

    // Already at the widest spacing: the same layout again.
    const UsulRecord once = r;
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(r, once);
}

TEST(AutoLayout, NarrowsTheSpacingUntilTheLayoutEndsBefore180) {
    UsulRecord r = chain(std::vector<int>(20, 16));
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(MevcutHalka(r), 172); // spacing 63, 9 circles per quarter
    r = chain(std::vector<int>(21, 16));
    ASSERT_TRUE(autoLayout(kTable, r));
    EXPECT_EQ(MevcutHalka(r), 161); // 181 at spacing 63, so 8 circles per quarter
}

TEST(AutoLayout, AFullUsulIsNotLaidOutButLosesItsLastBarLine) {
    UsulRecord r = chain(std::vector<int>(180, 2));
    r.circle(5).barLine = 1;
    r.circle(180).barLine = 1; // circle 181 counts as empty
    EXPECT_FALSE(autoLayout(kTable, r));
    EXPECT_EQ(barLineCircles(r), (Circles{5}));
    EXPECT_EQ(strokeCircles(r).size(), 180u);
}

TEST(AutoLayout, AnEmptyUsulBecomesAllEmptyCirclesWithLevelZero) {
    UsulRecord r;
    clearCircles(r); // level 2 and blank syllables everywhere
    r.circle(4).barLine = 1;
    ASSERT_TRUE(autoLayout(kTable, r));
    for (const Halka& h : r.circles)
        EXPECT_EQ(h, Halka{});
}

TEST(ReLayout, ACircleWithBothStrokesKeepsOnlyItsDum) {
    UsulRecord r = chain({16, 8});
    r.circle(1).leftDuration = 8;
    r.circle(1).level = 3;
    r.circle(1).syllable = U"Dü ";
    ASSERT_TRUE(expandLayout(kTable, r));
    EXPECT_EQ(r.circle(1).rightDuration, 16);
    EXPECT_EQ(r.circle(1).leftDuration, 0);
    EXPECT_EQ(r.circle(1).level, 3);
    EXPECT_EQ(r.circle(1).syllable, U"Dü ");
}

TEST(ReLayout, AFirstTekStrokeInCircle3MovesToCircle1WithNoBarLine) {
    UsulRecord r;
    r.circle(3).leftDuration = 16;
    r.circle(2).barLine = 1;
    r.circle(5).rightDuration = 8;
    YeniDizilim(kTable, r, 1, MevcutHalka(r));
    EXPECT_EQ(r.circle(1).leftDuration, 16);
    EXPECT_EQ(r.circle(2).rightDuration, 8);
    EXPECT_TRUE(barLineCircles(r).empty());
}

// ---- doubling and halving -----------------------------------------------------------------

TEST(Scaling, RefusalsChangeNothing) {
    // Doubling: any whole note, dotted or not, in either hand, or a length past a byte.
    // Halving: any 2, 3 or 7.
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

TEST(Scaling, HalvingRoundsTiesToEvenAndMayRemoveAStroke) {
    UsulRecord r = chain({5, 1, 6, 9, 16, 112});
    r.circle(2).leftDuration = 11;
    r.circle(3).barLine = 1;
    r.numerator = 9;
    r.mertebe = 8;
    ASSERT_EQ(scaleDurations(r, Scaling::Halve), ScalingResult::Scaled);
    EXPECT_EQ(r.circle(1).rightDuration, 2);
    EXPECT_EQ(r.circle(2).rightDuration, 0); // 1 -> 0.5 -> 0
    EXPECT_EQ(r.circle(2).leftDuration, 6);  // 5.5 -> 6
    EXPECT_EQ(r.circle(3).rightDuration, 3);
    EXPECT_EQ(r.circle(4).rightDuration, 4); // 4.5 -> 4
    EXPECT_EQ(r.circle(5).rightDuration, 8);
    EXPECT_EQ(r.circle(6).rightDuration, 56);
    EXPECT_EQ(r.circle(3).barLine, 1);
    EXPECT_EQ(r.numerator, 9);
    EXPECT_EQ(r.mertebe, 8);
}

TEST(Scaling, DoublingDoublesEveryLengthInPlace) {
    UsulRecord r = chain({3, 56, 1});
    r.circle(2).leftDuration = 24;
    ASSERT_EQ(scaleDurations(r, Scaling::Double), ScalingResult::Scaled);
    EXPECT_EQ(strokeCircles(r), (Circles{1, 2, 3}));
    EXPECT_EQ(r.circle(1).rightDuration, 6);
    EXPECT_EQ(r.circle(2).rightDuration, 112);
    EXPECT_EQ(r.circle(2).leftDuration, 48);
    EXPECT_EQ(r.circle(3).rightDuration, 2);
    // Now a dotted whole note stands in the way.
    EXPECT_EQ(scaleDurations(r, Scaling::Double), ScalingResult::Refused);
}

// ---- single-circle editing ----------------------------------------------------------------

TEST(NoteMenu, EachItemSetsOneHandAndClearsLoudnessAndSyllable) {
    struct Case {
        int index, right, left;
    };
    const Case cases[] = {{0, 2, 8},    {1, 4, 8},   {2, 8, 8},   {3, 16, 8},  {4, 32, 8},
                          {5, 64, 8},   {6, 0, 8},   {8, 24, 0},  {9, 24, 64}, {10, 24, 32},
                          {11, 24, 16}, {12, 24, 8}, {13, 24, 4}, {14, 24, 2}};
    for (const Case& c : cases) {
        UsulRecord r;
        Halka& h = r.circle(50);
        h = Halka{24, 8, 3, U"Tek", 1, 0, 0};
        ASSERT_TRUE(chooseNote(r, 50, c.index)) << c.index;
        EXPECT_EQ(h, (Halka{std::uint8_t(c.right), std::uint8_t(c.left), 0, U"   ", 1, 0, 0}))
            << "item " << c.index;
    }
}

TEST(Menus, NothingHappensWithoutACurrentCircleOrOnTheSeparator) {
    UsulRecord r = chain({16});
    const UsulRecord before = r;
    EXPECT_FALSE(chooseNote(r, 1, 7));
    EXPECT_FALSE(chooseNote(r, 0, 3));
    EXPECT_FALSE(chooseSyllable(r, 0, 2));
    EXPECT_EQ(r, before);
    ASSERT_TRUE(chooseSyllable(r, 1, 5));
    EXPECT_EQ(r.circle(1).syllable, U"Kâ ");
}

TEST(Press, GesturesByBandAndButton) {
    UsulRecord r;
    const double x = 160; // circle 7
    const auto press = [&r](double px, double py, bool primary) {
        const PressHit hit = hitTestPress(px, py);
        const PressAction action = pressAction(hit, primary);
        applyPress(r, hit.circle, action);
        return action;
    };
    // The gap after circle 7, with either button: 1 becomes 0, anything else 1.
    press(x + 10, 75, true);
    EXPECT_EQ(r.circle(7).barLine, 1);
    press(x + 10, 75, false);
    EXPECT_EQ(r.circle(7).barLine, 0);
    r.circle(7).barLine = 5;
    press(x + 10, 75, true);
    EXPECT_EQ(r.circle(7).barLine, 1);

    // Right button on the Düm band of an empty circle leaves it empty; the left button
    // cycles the loudness on either staff band.
    press(x, 60, false);
    EXPECT_FALSE(r.circle(7).hasStroke());
    std::vector<int> levels;
    for (double y : {60.0, 90.0, 55.0, 95.0, 67.0})
        levels.push_back((press(x, y, true), r.circle(7).level));
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3, 0, 1}));

    // Right button on the Tek band cycles the Tek dots only.
    r.circle(7).leftDuration = 16;
    r.circle(7).rightDuration = 8;
    press(x, 84, false);
    press(x, 88, false);
    EXPECT_EQ(r.circle(7).leftDuration, 28);
    EXPECT_EQ(r.circle(7).rightDuration, 8);

    // The circle band opens the menus and changes nothing by itself.
    const UsulRecord before = r;
    EXPECT_EQ(press(x, 75, true), PressAction::OpenNoteMenu);
    EXPECT_EQ(press(x, 75, false), PressAction::OpenSyllableMenu);
    EXPECT_EQ(press(34, 75, true), PressAction::None);
    EXPECT_EQ(r, before);
}

TEST(Clear, EmptiesEveryCircleAtLevelTwoAndKeepsTheHeader) {
    UsulRecord r = chain({16, 8, 8});
    r.circle(2).barLine = 1;
    r.circle(100).leftDuration = 4;
    r.name = fixedText(U"Düyek", kNameChars);
    r.numerator = 8;
    r.mertebe = 8;
    clearCircles(r);
    for (const Halka& h : r.circles)
        EXPECT_EQ(h, (Halka{0, 0, 2, U"   ", 0, 0, 0}));
    EXPECT_EQ(r.name, fixedText(U"Düyek", kNameChars));
    EXPECT_EQ(r.numerator, 8);
    EXPECT_EQ(r.mertebe, 8);
}
