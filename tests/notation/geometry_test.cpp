#include "notation/geometry.h"
#include "notation/glyphs.h"

#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>

using namespace zerkavi;

namespace {

double cx(int j) {
    return circleCentreX(j);
}

PressHit circleHit(int n, Band band) {
    return PressHit{PressHit::Kind::Circle, n, band};
}
PressHit gapHit(int n) {
    return PressHit{PressHit::Kind::Gap, n, Band::None};
}

// Tables are made on the spot (largeGlyphBand() is a value), so a cell handed out by
// reference would outlive its table; glyphRect hands out the 4-byte rectangle itself.
static_assert(std::is_same_v<decltype(glyphRect(largeGlyphBand(), kFirstGlyphCode)), GlyphRect>);

void expectHit(const PressHit& actual, const PressHit& expected, const char* what) {
    EXPECT_EQ(actual.kind, expected.kind) << what;
    EXPECT_EQ(actual.circle, expected.circle) << what;
    EXPECT_EQ(actual.band, expected.band) << what;
}

} // namespace

TEST(RowGeometry, CirclesWrapEveryFortyFive) {
    const CircleGeometry g45 = circleGeometry(45), g46 = circleGeometry(46);
    EXPECT_EQ(std::tuple(g45.row, g45.centreX, g45.barX), std::tuple(1, 920, 930));
    EXPECT_EQ(std::tuple(g46.row, g46.centreX, g46.top, g46.syllableY),
              std::tuple(2, 40, 150, 274));
    const CircleGeometry g180 = circleGeometry(180);
    EXPECT_EQ(std::tuple(g180.row, g180.position, g180.tekLineY), std::tuple(4, 45, 540));
}

TEST(PictureSize, RowsHeightsAndTopsFollowTheLastStroke) {
    struct Case {
        int n, rows, height, topOffset;
    };
    const Case cases[] = {{0, 1, 150, 75},    {1, 1, 150, 75},    {45, 1, 150, 75},
                          {46, 2, 300, 150},  {90, 2, 300, 150},  {91, 3, 450, 225},
                          {135, 3, 450, 225}, {136, 4, 600, 296}, {180, 4, 600, 296}};
    for (const Case& c : cases) {
        EXPECT_EQ(rowsForCircles(c.n), c.rows) << "n " << c.n;
        EXPECT_EQ(pictureHeightForCircles(c.n), c.height) << "n " << c.n;
        EXPECT_EQ(pictureTopForCircles(c.n, 700), 300 - c.topOffset) << "n " << c.n;
    }
}

TEST(PictureSize, AnOddInnerHeightRoundsTheWholeTopTiesToEven) {
    // (701 - 100) / 2 = 300.5; the top is rounded after the row offset is taken off:
    // 225.5, 150.5, 75.5, 4.5 and (703) 5.5.
    EXPECT_EQ(std::vector<int>({pictureTopForCircles(10, 701), pictureTopForCircles(50, 701),
                                pictureTopForCircles(100, 701), pictureTopForCircles(150, 701),
                                pictureTopForCircles(150, 703)}),
              (std::vector<int>{226, 150, 76, 4, 6}));
}

TEST(PictureSize, EmptyStaffRowsAreHeightOver150TiesToEven) {
    std::vector<int> rows;
    for (int height : {150, 300, 450, 600, 556, 75, 225, 375})
        rows.push_back(rowsForPictureHeight(height));
    // 556 is the picture's size before the first redraw; 0.5, 1.5 and 2.5 tie to even.
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 3, 4, 4, 0, 2, 2}));
}

// What a press finds: a circle (with its band), a gap (given as minus the circle before it)
// or nothing (0).
TEST(HitTest, PressesFindTheirCircleGapAndBand) {
    const auto expected = [](int n, Band band) {
        return n > 0 ? circleHit(n, band) : n < 0 ? gapHit(-n) : PressHit{};
    };
    const std::pair<double, int> byX[] = {
        {cx(7) + 5.5, 7}, {cx(7) - 5, 7}, {cx(7) - 5.5, -6}, {cx(7) + 6, -7}, {cx(7) + 14.5, -7},
        {cx(7) - 6, -6},  {cx(1) - 6, 0}, {34.9, 0},         {35, 1},         {934.5, -45},
        {935, 0}};
    for (const auto& [x, n] : byX)
        expectHit(hitTestPress(x, 75), expected(n, n > 0 ? Band::Circle : Band::None),
                  ("X = " + std::to_string(x)).c_str());
    const std::tuple<double, int, Band> byY[] = {
        {54, 0, Band::None},   {55, 3, Band::Dum},      {67, 3, Band::Dum},   {67.5, 3, Band::None},
        {68, 3, Band::Circle}, {83, 3, Band::Circle},   {84, 3, Band::Tek},   {95, 3, Band::Tek},
        {96, 0, Band::None},   {204, 0, Band::None},    {205, 48, Band::Dum}, {245, 48, Band::Tek},
        {246, 0, Band::None},  {380, 93, Band::Circle}, {395, 93, Band::Tek}, {505, 138, Band::Dum},
        {545, 138, Band::Tek}, {546, 0, Band::None}};
    for (const auto& [y, n, band] : byY)
        expectHit(hitTestPress(cx(3), y), expected(n, band), ("Y = " + std::to_string(y)).c_str());
    // A gap takes the row from Y as well, and has no band.
    expectHit(hitTestPress(cx(45) + 10, 520), gapHit(180), "gap after circle 180");
    expectHit(hitTestPress(cx(45) + 10, 100), PressHit{}, "gap between rows");
}

TEST(HitTest, MovesSeeCirclesOnly) {
    EXPECT_EQ(hitTestMove(cx(7) + 5.5, 60), 7);
    EXPECT_EQ(hitTestMove(cx(7) + 6, 60), 0);
    EXPECT_EQ(hitTestMove(cx(7) + 10, 60), 0);
    EXPECT_EQ(hitTestMove(cx(45), 395), 135);
    EXPECT_EQ(hitTestMove(cx(1), 96), 0);
    EXPECT_EQ(hitTestMove(34, 75), 0);
}

TEST(Glyphs, DottedValuesKeepTheirGlyphAndOddLengthsHaveNone) {
    const std::tuple<int, int, int, int> cases[] = {{3, 168, 169, 1},  {7, 166, 167, 2},
                                                    {12, 164, 165, 1}, {28, 162, 163, 2},
                                                    {32, 160, 161, 0}, {112, 159, 159, 2}};
    for (const auto& [length, dum, tek, dots] : cases) {
        EXPECT_EQ(glyphCode(length, true), dum) << length;
        EXPECT_EQ(glyphCode(length, false), tek) << length;
        EXPECT_EQ(dotCount(length), dots) << length;
    }
    for (int length : {0, 1, 5, 9, 63, 128})
        EXPECT_EQ(glyphCode(length, true) + glyphCode(length, false) + dotCount(length), 0);
}

TEST(DotCycle, AddOneDotThenTheSecondThenRemoveBoth) {
    const std::pair<int, int> steps[] = {
        {2, 3},    {3, 2},   {4, 6},   {6, 7},   {7, 4},   {8, 12},   {12, 14}, {14, 8},
        {16, 24},  {24, 28}, {28, 16}, {32, 48}, {48, 56}, {56, 32},  {64, 96}, {96, 112},
        {112, 64}, {0, 0},   {1, 1},   {5, 5},   {9, 9},   {100, 100}};
    for (const auto& [before, after] : steps)
        EXPECT_EQ(nextDotLength(before), after) << before;
}
