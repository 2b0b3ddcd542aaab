// Pixels of the notation drawing, on a bare picture box.
#include "notation/geometry.h"
#include "platform/picture_box.h"
#include "window/painter.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <set>

using namespace zerkavi;

namespace {

const QColor kTan(200, 185, 130); // the default background, to tell it from white
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGrey = qRgb(200, 200, 200);

// A stand-in for the glyph strip: red everywhere, white cells, and in each cell a black
// pixel whose row tells the glyph (y + 5 + c) and a black 3 x 3 "head" around (x + 3, y + 42).
QImage syntheticStrip() {
    QImage strip(240, 230, QImage::Format_RGB32);
    strip.fill(Qt::red);
    QPainter p(&strip);
    for (const GlyphTable& band : {largeGlyphBand(), mediumGlyphBand(), smallGlyphBand()}) {
        for (int c = 0; c < 11; ++c) {
            const GlyphRect& g = band[std::size_t(c)];
            p.fillRect(g.x, g.y, g.width, g.height, Qt::white);
            p.fillRect(g.x + 2, g.y + 5 + c, 1, 1, Qt::black);
            p.fillRect(g.x + 2, g.y + g.height / 2 - 1, 3, 3, Qt::black);
        }
    }
    return strip;
}

std::filesystem::path glyphStripAsset() {
    return std::filesystem::path(ZERKAVI_SOURCE_DIR) / "assets" / "glyphs" / "eschel.png";
}

const LoudnessLetters kLetters{QStringLiteral("K"), QStringLiteral("O"), QStringLiteral("Z")};

class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QFont f;
        f.setFamilies({QStringLiteral("DejaVu Sans")});
        f.setPointSize(8);
        picture.setFont(f);
        picture.setBackground(kTan);
        picture.resizePicture(kPictureWidth, 150);
    }
    QRgb at(int x, int y) const { return picture.image().pixel(x, y); }
    // Draws `r` on a picture sized for it, and returns the total the window shows with it.
    int draw(const UsulRecord& r, const QImage& strip) {
        picture.resizePicture(kPictureWidth, pictureHeightForCircles(MevcutHalka(r)));
        UsulÇiz(picture, r, strip, largeGlyphBand(), kLetters);
        return sumOfStrokes(r);
    }
    // The empty staff of the same height, to compare against.
    QImage emptyStaff() {
        PictureBox empty;
        empty.setBackground(kTan);
        empty.resizePicture(picture.image().width(), picture.image().height());
        BoşPorte(empty);
        return empty.image().copy();
    }
    bool anyDark(int x1, int y1, int x2, int y2) const {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (qGray(at(x, y)) < 100) return true;
        return false;
    }

    PictureBox picture;
};

} // namespace

TEST_F(DrawingTest, EmptyStaffHasAsManyRowsAsThePictureIsTall) {
    for (int rows = 1; rows <= 4; ++rows) {
        picture.resizePicture(kPictureWidth, 150 * rows);
        picture.box(0, 0, 963, 150 * rows - 1, Qt::blue, true); // cleared first
        BoşPorte(picture);
        for (int r = 1; r <= rows; ++r) {
            const int t = rowTop(r);
            for (int y : {t + 60, t + 90}) {
                EXPECT_EQ(at(20, y), kBlack) << "rows " << rows << " y " << y;
                EXPECT_EQ(at(480, y), kBlack);
                EXPECT_EQ(at(939, y), kBlack);
                EXPECT_EQ(at(19, y), kTan.rgb());
                EXPECT_EQ(at(941, y), kTan.rgb());
            }
            for (int j : {1, 23, 45}) {
                const int cx = circleCentreX(j), cy = t + 75;
                EXPECT_EQ(at(cx + 5, cy), kGrey) << "circle " << j << " of row " << r;
                EXPECT_EQ(at(cx - 5, cy), kGrey);
                EXPECT_EQ(at(cx, cy - 5), kGrey);
                EXPECT_EQ(at(cx, cy + 5), kGrey);
                EXPECT_EQ(at(cx, cy), kTan.rgb()); // filled with the background
                EXPECT_EQ(at(cx + 3, cy + 2), kTan.rgb());
                EXPECT_EQ(at(cx + 7, cy), kTan.rgb());
            }
        }
        // The double separator between rows, and nothing else of it.
        for (int r = 2; r <= 4; ++r) {
            const int y = rowTop(r);
            if (y >= 150 * rows) break;
            const QRgb expected = r <= rows ? kBlack : kTan.rgb();
            for (int x : {0, 480, 959}) {
                EXPECT_EQ(at(x, y), expected) << "rows " << rows << " y " << y;
                EXPECT_EQ(at(x, y - 1), expected) << "rows " << rows << " y " << y - 1;
            }
            EXPECT_EQ(at(480, y - 2), kTan.rgb());
            EXPECT_EQ(at(480, y + 1), kTan.rgb());
            EXPECT_EQ(at(962, y), kTan.rgb());
        }
        if (rows == 1) {
            EXPECT_EQ(at(480, 149), kTan.rgb());
        }
    }
}

TEST_F(DrawingTest, DotsAreExactlyTheirEightPixels) {
    const std::set<std::pair<int, int>> one = {{13, -1}, {13, 1}, {14, -2}, {14, -1},
                                               {14, 1},  {14, 2}, {15, -1}, {15, 1}};
    const std::set<std::pair<int, int>> two = {{12, -1}, {12, 1}, {13, -1}, {13, 1},
                                               {16, -1}, {16, 1}, {17, -1}, {17, 1}};
    for (bool single : {true, false}) {
        picture.clear();
        const int X = 100, Y = 60;
        QPainter p(&picture.image());
        if (single)
            birNoktaKoy(p, X, Y);
        else
            ikiNoktaKoy(p, X, Y);
        p.end();
        const auto& expected = single ? one : two;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < kPictureWidth; ++x) {
                const bool dot = expected.count({x - X, y - Y}) > 0;
                ASSERT_EQ(at(x, y), dot ? kBlack : kTan.rgb()) << x << "," << y;
            }
    }
}

TEST_F(DrawingTest, GlyphsAreAndCopiedFromTheirCellsAtTheirPlaces) {
    UsulRecord r;
    r.circle(1).rightDuration = 16; // Düm quarter, code 162
    r.circle(2).leftDuration = 8;   // Tek eighth, 165
    r.circle(3).rightDuration = 64; // whole, 159
    r.circle(4).rightDuration = 4;  // Düm sixteenth, 166: a wide cell
    for (int k = 1; k <= 4; ++k)
        r.circle(k).syllable = U"   ";
    const QImage strip = syntheticStrip();
    draw(r, strip);

    const auto expectMark = [&](int n, int code, bool dum) {
        const CircleGeometry g = circleGeometry(n);
        const int top = dum ? g.dumGlyphTop : g.tekGlyphTop;
        for (int c = 0; c < 11; ++c) {
            const bool ours = c == code - kFirstGlyphCode;
            EXPECT_EQ(at(g.glyphLeft + 2, top + 5 + c) == kBlack, ours)
                << "circle " << n << " mark of cell " << c;
        }
        EXPECT_EQ(at(g.glyphLeft + 3, top + 41), kBlack) << "circle " << n;
    };
    expectMark(1, 162, true);
    expectMark(2, 165, false);
    expectMark(3, 159, true);
    expectMark(4, 166, true);

    // White cell pixels leave the picture as it was: background, staff line, circle.
    const CircleGeometry g1 = circleGeometry(1);
    EXPECT_EQ(at(g1.glyphLeft + 8, g1.dumGlyphTop + 20), kTan.rgb());
    EXPECT_EQ(at(g1.glyphLeft + 8, g1.dumLineY), kBlack);
    EXPECT_EQ(at(g1.centreX + 5, g1.centreY), kGrey);
    // The red between cells is never copied: column 10 of a narrow cell, 18 of a wide one.
    EXPECT_EQ(at(g1.glyphLeft + 10, g1.dumGlyphTop + 30), kTan.rgb());
    const CircleGeometry g4 = circleGeometry(4);
    EXPECT_EQ(at(g4.glyphLeft + 17, g4.dumGlyphTop + 30), kTan.rgb()); // white in a wide cell
    EXPECT_EQ(at(g4.glyphLeft + 18, g4.dumGlyphTop + 30), kTan.rgb());
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            ASSERT_NE(at(x, y), kRed) << x << "," << y;
}

TEST_F(DrawingTest, TheRealGlyphStripIsAndedPixelForPixel) {
    QImage strip(QString::fromStdString(glyphStripAsset().string()));
    if (strip.isNull()) GTEST_SKIP() << "no glyph strip at " << glyphStripAsset();
    strip = strip.convertToFormat(QImage::Format_RGB32);
    UsulRecord r;
    r.circle(1).rightDuration = 8; // code 164, 18 wide
    r.circle(2).leftDuration = 32; // code 161
    r.circle(1).syllable = r.circle(2).syllable = U"   ";
    r.circle(1).level = r.circle(2).level = 3;
    draw(r, strip);
    const QImage before = emptyStaff();
    const auto check = [&](int n, int code, bool dum, int fromRow, int toRow) {
        const CircleGeometry g = circleGeometry(n);
        const GlyphRect cell = glyphRect(largeGlyphBand(), code);
        const int top = dum ? g.dumGlyphTop : g.tekGlyphTop;
        for (int dy = fromRow; dy < toRow; ++dy)
            for (int dx = 0; dx < cell.width; ++dx) {
                const int x = g.glyphLeft + dx, y = top + dy;
                if (x == g.barX) continue; // the white bar-line eraser comes later
                const QRgb expected =
                    (before.pixel(x, y) & strip.pixel(cell.x + dx, cell.y + dy)) | 0xFF000000u;
                ASSERT_EQ(at(x, y), expected) << "circle " << n << " at " << dx << "," << dy;
            }
    };
    check(1, 164, true, 12, 84); // rows above 12 may hold the loudness letter
    check(2, 161, false, 0, 84);
}

TEST_F(DrawingTest, DottedAndUnwrittenLengths) {
    UsulRecord r;
    r.circle(1).rightDuration = 24; // quarter with one dot
    r.circle(2).leftDuration = 14;  // eighth with two dots
    r.circle(3).rightDuration = 5;  // no glyph, still counted
    r.circle(4).rightDuration = 3;  // thirty-second with one dot
    r.circle(4).leftDuration = 16;  // both strokes: the Düm length counts
    for (int k = 1; k <= 4; ++k)
        r.circle(k).level = 2;
    EXPECT_EQ(draw(r, syntheticStrip()), 24 + 14 + 5 + 3);

    const CircleGeometry g1 = circleGeometry(1), g2 = circleGeometry(2), g3 = circleGeometry(3);
    for (auto [dx, dy] : {std::pair{13, -1}, {13, 1}, {14, -2}, {14, -1}, {15, -1}, {15, 1}})
        EXPECT_EQ(at(g1.glyphLeft + dx, g1.dumLineY + dy), kBlack) << dx << "," << dy;
    // The dot's middle column is the bar-line column, and the bar-line step comes after the
    // dots: its white eraser takes the part of the dot below the Düm line.
    EXPECT_EQ(at(g1.glyphLeft + 14, g1.dumLineY + 1), kWhite);
    EXPECT_EQ(at(g1.glyphLeft + 14, g1.dumLineY + 2), kWhite);
    EXPECT_EQ(at(g1.glyphLeft + 12, g1.dumLineY - 1), kTan.rgb());
    for (auto [dx, dy] :
         {std::pair{12, -1}, {12, 1}, {13, -1}, {13, 1}, {16, -1}, {16, 1}, {17, -1}, {17, 1}})
        EXPECT_EQ(at(g2.glyphLeft + dx, g2.tekLineY + dy), kBlack) << dx << "," << dy;
    EXPECT_EQ(at(g2.glyphLeft + 15, g2.tekLineY - 1), kTan.rgb());

    // Length 5 draws no glyph: its staff looks empty apart from the loudness letter.
    const QImage empty = emptyStaff();
    for (int y = g3.dumGlyphTop + 12; y < 150; ++y)
        for (int x = g3.glyphLeft - 1; x < g3.glyphLeft + 14; ++x) {
            if (y >= g3.syllableY) continue; // its (blank) syllable
            ASSERT_EQ(at(x, y), empty.pixel(x, y)) << x << "," << y;
        }
    // A circle with both strokes shows both glyphs.
    const CircleGeometry g4 = circleGeometry(4);
    EXPECT_EQ(at(g4.glyphLeft + 2, g4.dumGlyphTop + 5 + 9), kBlack); // 168
    EXPECT_EQ(at(g4.glyphLeft + 2, g4.tekGlyphTop + 5 + 4), kBlack); // 163
    EXPECT_EQ(at(g4.glyphLeft + 14, g4.dumLineY - 2), kBlack);       // its dot
}

TEST_F(DrawingTest, BarLinesAreRedDashesOrAWhiteEraser) {
    UsulRecord r;
    r.circle(1).rightDuration = 16;
    r.circle(1).barLine = 1;
    r.circle(2).barLine = 1; // empty but inside the used range: still drawn
    r.circle(3).barLine = 0;
    r.circle(4).barLine = 2; // anything but 1 erases
    r.circle(5).rightDuration = 16;
    r.circle(6).barLine = 1; // after the last stroke: not visited
    draw(r, syntheticStrip());

    for (int n : {1, 2}) {
        const int x = circleGeometry(n).barX;
        for (int y = 61; y <= 65; ++y)
            EXPECT_EQ(at(x, y), kRed) << n << " y " << y;
        for (int y = 67; y <= 71; ++y)
            EXPECT_EQ(at(x, y), kTan.rgb()) << n << " y " << y;
        for (int y = 72; y <= 77; ++y)
            EXPECT_EQ(at(x, y), kRed) << n << " y " << y;
        for (int y = 79; y <= 83; ++y)
            EXPECT_EQ(at(x, y), kTan.rgb()) << n << " y " << y;
        for (int y = 84; y <= 88; ++y)
            EXPECT_EQ(at(x, y), kRed) << n << " y " << y;
        EXPECT_EQ(at(x, 60), kBlack);
        EXPECT_EQ(at(x, 90), kBlack);
    }
    for (int n : {3, 4, 5})
        for (int y = 61; y <= 88; ++y)
            EXPECT_EQ(at(circleGeometry(n).barX, y), kWhite) << n << " y " << y;
    for (int y = 61; y <= 89; ++y)
        EXPECT_EQ(at(circleGeometry(6).barX, y), kTan.rgb()) << y;
}

TEST_F(DrawingTest, LoudnessLettersAndTheWhiteBox) {
    UsulRecord r;
    for (int k = 1; k <= 5; ++k) {
        r.circle(k).leftDuration = 16; // the Düm side above the staff stays free
        r.circle(k).level = std::uint8_t(k - 1);
        r.circle(k).syllable = U"Düm";
    }
    r.circle(6).level = 0; // empty: no box
    r.circle(7).leftDuration = 2;
    draw(r, syntheticStrip());

    const CircleGeometry g0 = circleGeometry(1);
    // The box reaches g + 25, where the next circle's letter begins; that letter is
    // written later and may cover the box's last column.
    for (int y = g0.letterY; y <= g0.letterY + 10; ++y)
        for (int x = g0.letterX; x <= g0.letterX + 19; ++x)
            ASSERT_EQ(at(x, y), kWhite) << x << "," << y;
    EXPECT_EQ(at(g0.letterX + 20, g0.letterY + 10), kWhite); // below the letter's ink
    EXPECT_EQ(at(g0.letterX - 1, g0.letterY), kTan.rgb());
    EXPECT_EQ(at(g0.letterX, g0.letterY - 1), kTan.rgb());

    for (int level = 1; level <= 3; ++level) {
        const CircleGeometry g = circleGeometry(level + 1);
        EXPECT_TRUE(anyDark(g.letterX, g.letterY, g.letterX + 12, g.letterY + 14)) << level;
        EXPECT_EQ(at(g.letterX + 19, g.letterY + 1), kTan.rgb()) << level; // no box
    }
    // Level 4 is not a loudness: neither letter nor box.
    const CircleGeometry g4 = circleGeometry(5);
    EXPECT_FALSE(anyDark(g4.letterX, g4.letterY, g4.letterX + 12, g4.letterY + 14));
    EXPECT_EQ(at(g4.letterX + 19, g4.letterY + 1), kTan.rgb());
    const CircleGeometry g6 = circleGeometry(6);
    EXPECT_EQ(at(g6.letterX + 10, g6.letterY + 5), kTan.rgb());

    // The syllable under the staff, only for circles with a stroke.
    EXPECT_TRUE(anyDark(g0.syllableX, g0.syllableY, g0.syllableX + 20, 149));
    // (The left part of circle 6's place may hold the end of circle 5's "Düm".)
    EXPECT_FALSE(anyDark(g6.syllableX + 10, g6.syllableY, g6.syllableX + 20, 149));
}

TEST_F(DrawingTest, PictureHeightFollowsTheLastStroke) {
    UsulRecord r;
    for (int n : {45, 46, 91, 136}) {
        r.circle(n).rightDuration = 16;
        draw(r, syntheticStrip());
        EXPECT_EQ(picture.image().height(), pictureHeightForCircles(n)) << n;
        const CircleGeometry g = circleGeometry(n);
        EXPECT_EQ(at(g.glyphLeft + 2, g.dumGlyphTop + 5 + 3), kBlack) << n;
        EXPECT_EQ(at(480, g.top + 60), kBlack) << n;
    }
    EXPECT_EQ(picture.image().height(), 600);
    EXPECT_EQ(draw(r, syntheticStrip()), 64);
}
