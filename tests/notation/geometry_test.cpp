// Where the notation puts things, what a press finds and the sizes of the exported and
// printed notation, against tests/golden/geometry.txt (refresh: see tests/support/golden.h).
#include "notation/export_names.h"
#include "notation/geometry.h"
#include "notation/glyphs.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <type_traits>

using namespace zerkavi;

// Tables are made on the spot (largeGlyphBand() is a value), so a cell handed out by
// reference would outlive its table; glyphRect hands out the 4-byte rectangle itself.
static_assert(std::is_same_v<decltype(glyphRect(largeGlyphBand(), kFirstGlyphCode)), GlyphRect>);

// Rows of 45 circles, 150 pixels each; the picture's top is (inner height - 100) / 2 less the
// rows' offset, and an empty staff has height / 150 rows, both rounded half to even (inner
// heights 701 and 703, heights 75, 225, 375 and 556 land on halves). A press finds a circle
// with its band (Düm 55..67 below the row's top, circle 68..83, Tek 84..95), the gap after a
// circle, or nothing; a move sees circles only. Twips become printer dots ties to even.
TEST(NotationGolden, GeometryHitsGlyphsAndExportSizes) {
    std::ostringstream out;
    for (int n : {1, 45, 46, 180}) {
        const CircleGeometry g = circleGeometry(n);
        out << "circle " << n << ": row " << g.row << " position " << g.position << " top " << g.top
            << " centre " << g.centreX << ',' << g.centreY << " glyph " << g.glyphLeft << ' '
            << g.dumGlyphTop << ' ' << g.tekGlyphTop << " lines " << g.dumLineY << ' ' << g.tekLineY
            << " syllable " << g.syllableX << ',' << g.syllableY << " letter " << g.letterX << ','
            << g.letterY << " bar " << g.barX << ' ' << g.barTop << ".." << g.barBottom << '\n';
    }
    for (int n : {0, 1, 10, 45, 46, 50, 90, 91, 100, 135, 136, 150, 180})
        out << "last circle " << n << ": rows " << rowsForCircles(n) << " height "
            << pictureHeightForCircles(n)
            << " top at inner 700, 701, 703: " << pictureTopForCircles(n, 700) << ' '
            << pictureTopForCircles(n, 701) << ' ' << pictureTopForCircles(n, 703) << '\n';
    for (int h : {75, 150, 225, 300, 375, 450, 556, 600})
        out << "empty staff of height " << h << ": rows " << rowsForPictureHeight(h) << '\n';
    auto at = [&](double x, double y) {
        const PressHit h = hitTestPress(x, y);
        out << "press " << x << ',' << y << ": "
            << (h.kind == PressHit::Kind::Circle ? "circle "
                : h.kind == PressHit::Kind::Gap  ? "gap after "
                                                 : "nothing ")
            << h.circle << " band " << int(h.band) << ", move " << hitTestMove(x, y) << '\n';
    };
    const double c1 = circleCentreX(1), c7 = circleCentreX(7), c3 = circleCentreX(3);
    for (double x : {c7 + 5.5, c7 - 5, c7 - 5.5, c7 + 6, c7 + 10, c7 + 14.5, c7 - 6, c1 - 6, 34.0,
                     34.9, 35.0, 934.5, 935.0})
        at(x, 75);
    for (double y : {54.0, 55.0, 60.0, 67.0, 67.5, 68.0, 83.0, 84.0, 95.0, 96.0, 204.0, 205.0,
                     245.0, 246.0, 380.0, 395.0, 505.0, 545.0, 546.0})
        at(c3, y);
    at(c7 + 5.5, 60);
    at(circleCentreX(45), 395);
    at(circleCentreX(45) + 10, 520);
    at(circleCentreX(45) + 10, 100);
    for (int length = 0; length <= 128; ++length)
        if (glyphCode(length, true) || dotCount(length) || nextDotLength(length) != length)
            out << "length " << length << ": glyphs " << glyphCode(length, true) << ' '
                << glyphCode(length, false) << " dots " << dotCount(length) << " next dot "
                << nextDotLength(length) << '\n';

    for (auto [n, height] :
         {std::pair{1, 150}, {21, 150}, {22, 150}, {45, 150}, {46, 300}, {91, 450}, {180, 600}}) {
        const JpegLayout l = jpegLayout(n, 964, height);
        const auto centres = exportCircleCentres(n);
        out << "jpeg of " << n << " circles: canvas " << l.canvasWidth << 'x' << l.canvasHeight
            << " copy " << l.copyWidth << 'x' << l.copyHeight << ", " << centres.size()
            << " circles hidden, the last at " << centres.back().first << ','
            << centres.back().second << '\n';
    }
    for (auto [twips, dpi] :
         {std::pair{1440, 600}, {600, 1200}, {500, 1200}, {9, 80}, {27, 80}, {45, 80}})
        out << twips << " twips at " << dpi << " dpi: " << twipsToDots(twips, dpi) << " dots\n";
    // One row at screen size is its own pixels; a strip wider than the page is narrowed.
    for (auto [n, height, page, dpi] : {std::array{1, 150, 5000, 96},
                                        {5, 150, 5000, 96},
                                        {6, 150, 5000, 96},
                                        {1, 150, 9000, 1200},
                                        {45, 150, 9000, 1200},
                                        {45, 150, 12000, 1200},
                                        {46, 300, 9000, 1200}}) {
        const PrintPlacement p = printPlacement(n, 964, height, page, dpi, dpi);
        out << "print " << n << " circles on " << page << " dots at " << dpi << " dpi: " << p.x
            << ',' << p.y << ' ' << p.width << 'x' << p.height << " from " << p.sourceWidth << 'x'
            << p.sourceHeight << '\n';
    }
    for (int s = -3; s <= 23; ++s)
        out << "codec status " << s << ": message " << int(codecStatusReport(s).message) << " \""
            << codecStatusReport(s).text << "\"\n";
    EXPECT_TRUE(zerkavi::testing::matchesGolden("geometry.txt", out.str()));
}
