// Where things sit on the notation picture, and what a mouse position points at.
//
// The picture is 964 pixels wide and holds up to four rows of 45 beat circles, 150
// pixels per row, circle centres 20 pixels apart. Coordinates are picture pixels, origin
// top left, y downwards. Mouse positions are doubles because the toolkit may deliver
// fractional ones; every boundary below is exact for them.
#pragma once

namespace zerkavi {

inline constexpr int kCirclesPerRow = 45;
inline constexpr int kRowHeight = 150;
inline constexpr int kMaxRows = 4;
inline constexpr int kPictureWidth = 964;
inline constexpr int kCircleRadius = 5;
inline constexpr int kStaffLeft = 20;
inline constexpr int kStaffRight = 940;
inline constexpr int kSeparatorRight = 960;

// Row 1..4 of circle n (1..180).
int rowOfCircle(int n);
// Position 1..45 of circle n inside its row.
int positionInRow(int n);
// Top of row r (1..4).
int rowTop(int row);
// Centre x of the circle at position j (1..45) of any row.
int circleCentreX(int position);

// Everything drawn for one circle, for its row top and centre.
struct CircleGeometry {
    int row = 0;
    int position = 0;
    int top = 0;                      // T, the row's top
    int centreX = 0;                  // circle centre
    int centreY = 0;                  // T + 75
    int glyphLeft = 0;                // g = centre - 4, left edge of the glyph cell
    int dumGlyphTop = 0;              // T + 18
    int tekGlyphTop = 0;              // T + 49
    int dumLineY = 0;                 // T + 60, Düm staff line and its dots
    int tekLineY = 0;                 // T + 90, Tek staff line and its dots
    int syllableX = 0, syllableY = 0; // (g - 3, T + 124), top left of the text
    int letterX = 0, letterY = 0;     // (g + 5, T + 12), loudness letter / white box
    int barX = 0;                     // g + 14 = centre + 10
    int barTop = 0, barBottom = 0;    // T + 61 .. T + 89
};
CircleGeometry circleGeometry(int n);

// Picture size for an usul whose last stroke is in circle n (0..180).
int rowsForCircles(int n);
int pictureHeightForCircles(int n);
// Top of the picture, centred in the window's inner height H less the 100-pixel strip at
// the bottom. The four-row picture sits 4 pixels lower than the pattern (- 296, not - 300).
int pictureTopForCircles(int n, int innerHeight);
// Rows an empty staff draws on a picture of this height: height / 150, ties to even.
int rowsForPictureHeight(int height);

// The part of a circle a press landed on, chosen by y inside the row.
enum class Band {
    None,   // only possible for a fractional y between two bands
    Dum,    // T + 55 .. T + 67, around the Düm staff line
    Circle, // T + 68 .. T + 83
    Tek,    // T + 84 .. T + 95, around the Tek staff line
};

struct PressHit {
    enum class Kind { Nothing, Circle, Gap } kind = Kind::Nothing;
    int circle = 0;         // 1..180; for a gap, the circle the gap follows
    Band band = Band::None; // for a circle hit only
};

// A press: the circle test comes before the gap test, circle by circle from the left.
PressHit hitTestPress(double x, double y);
// A move: circles only, no gaps and no bands. 0 when no circle is under the mouse.
int hitTestMove(double x, double y);

} // namespace zerkavi
