#include "notation/geometry.h"

#include "common/rounding.h"

namespace zerkavi {

int rowOfCircle(int n) {
    return (n + kCirclesPerRow - 1) / kCirclesPerRow;
}

int positionInRow(int n) {
    return n - kCirclesPerRow * (rowOfCircle(n) - 1);
}

int rowTop(int row) {
    return kRowHeight * (row - 1);
}

int circleCentreX(int position) {
    return 40 + 20 * (position - 1);
}

CircleGeometry circleGeometry(int n) {
    CircleGeometry g;
    g.row = rowOfCircle(n);
    g.position = positionInRow(n);
    g.top = rowTop(g.row);
    g.centreX = circleCentreX(g.position);
    g.centreY = g.top + 75;
    g.glyphLeft = g.centreX - 4;
    g.dumGlyphTop = g.top + 18;
    g.tekGlyphTop = g.top + 49;
    g.dumLineY = g.top + 60;
    g.tekLineY = g.top + 90;
    g.syllableX = g.glyphLeft - 3;
    g.syllableY = g.top + 124;
    g.letterX = g.glyphLeft + 5;
    g.letterY = g.top + 12;
    g.barX = g.glyphLeft + 14;
    g.barTop = g.top + 61;
    g.barBottom = g.top + 89;
    return g;
}

int rowsForCircles(int n) {
    return n <= kCirclesPerRow ? 1 : rowOfCircle(n);
}

int pictureHeightForCircles(int n) {
    return kRowHeight * rowsForCircles(n);
}

int pictureTopForCircles(int n, int innerHeight) {
    static constexpr int kHalfHeights[kMaxRows] = {75, 150, 225, 296};
    // The whole expression is converted at once, so (H - 100) / 2 keeps its half.
    return int(roundHalfEven((innerHeight - 100) / 2.0 - kHalfHeights[rowsForCircles(n) - 1]));
}

int rowsForPictureHeight(int height) {
    return int(roundHalfEven(height / double(kRowHeight)));
}

namespace {

// Row 1..4 from y, 0 outside the four staff zones.
int rowAt(double y) {
    for (int r = 1; r <= kMaxRows; ++r) {
        const int t = rowTop(r);
        if (y >= t + 55 && y <= t + 95) return r;
    }
    return 0;
}

Band bandAt(double y, int top) {
    if (y >= top + 55 && y <= top + 67) return Band::Dum;
    if (y >= top + 68 && y <= top + 83) return Band::Circle;
    if (y >= top + 84 && y <= top + 95) return Band::Tek;
    return Band::None;
}

} // namespace

PressHit hitTestPress(double x, double y) {
    PressHit hit;
    if (x < 35 || x > 935) return hit;
    int position = 0;
    for (int j = 1; j <= kCirclesPerRow; ++j) {
        const int cx = circleCentreX(j);
        if (x > cx - 6 && x < cx + 6) {
            hit.kind = PressHit::Kind::Circle;
        } else if (x > cx + 5 && x < cx + 15) {
            hit.kind = PressHit::Kind::Gap;
        } else {
            continue;
        }
        position = j;
        break;
    }
    const int row = rowAt(y);
    if (position == 0 || row == 0) return PressHit{};
    hit.circle = kCirclesPerRow * (row - 1) + position;
    if (hit.kind == PressHit::Kind::Circle) hit.band = bandAt(y, rowTop(row));
    return hit;
}

int hitTestMove(double x, double y) {
    if (x < 35 || x > 935) return 0;
    const int row = rowAt(y);
    if (row == 0) return 0;
    for (int j = 1; j <= kCirclesPerRow; ++j) {
        const int cx = circleCentreX(j);
        if (x > cx - 6 && x < cx + 6) return kCirclesPerRow * (row - 1) + j;
    }
    return 0;
}

} // namespace zerkavi
