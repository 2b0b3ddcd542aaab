#include "window/painter.h"

#include "notation/geometry.h"

#include <QRect>

#include <algorithm>
#include <initializer_list>

namespace zerkavi {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kCircleGrey(200, 200, 200);

void setPixels(PictureBox& picture, int X, int Y, std::initializer_list<QPoint> offsets) {
    for (const QPoint& d : offsets)
        picture.pixel(X + d.x(), Y + d.y(), kBlack);
}

// One stroke: its glyph with the cell's top left at (left, top) and its dots on lineY.
void drawStroke(PictureBox& picture, int length, bool dum, int left, int top, int lineY,
                const QImage& strip, const GlyphTable& glyphs) {
    const int code = glyphCode(length, dum);
    if (code == 0) return;
    const GlyphRect& g = glyphRect(glyphs, code);
    picture.andCopy(left, top, strip, QRect(g.x, g.y, g.width, g.height));
    switch (dotCount(length)) {
    case 1:
        birNoktaKoy(picture, left, lineY);
        break;
    case 2:
        ikiNoktaKoy(picture, left, lineY);
        break;
    default:
        break;
    }
}

// A syllable read from a slot never written by the program may hold NUL characters; they
// show as blanks.
QString syllableText(const std::u32string& syllable) {
    QString s = QString::fromStdU32String(syllable);
    s.replace(QChar(0), QChar(' '));
    return s;
}

} // namespace

void BoşPorte(PictureBox& picture) {
    picture.clear();
    const QColor background = picture.background();
    const int rows = rowsForPictureHeight(picture.image().height());
    for (int r = 1; r <= rows; ++r) {
        const int top = rowTop(r);
        picture.line(kStaffLeft, top + 60, kStaffRight, top + 60, kBlack);
        picture.line(kStaffLeft, top + 90, kStaffRight, top + 90, kBlack);
        for (int j = 1; j <= kCirclesPerRow; ++j)
            picture.circle(circleCentreX(j), top + 75, kCircleRadius, kCircleGrey, &background);
    }
    for (int r = 2; r <= std::min(rows, kMaxRows); ++r) {
        const int y = rowTop(r);
        picture.line(0, y, kSeparatorRight, y, kBlack);
        picture.line(0, y - 1, kSeparatorRight, y - 1, kBlack);
    }
}

void birNoktaKoy(PictureBox& picture, int X, int Y) {
    setPixels(picture, X, Y,
              {{13, -1}, {13, 1}, {14, -2}, {14, -1}, {14, 1}, {14, 2}, {15, -1}, {15, 1}});
}

void ikiNoktaKoy(PictureBox& picture, int X, int Y) {
    setPixels(picture, X, Y,
              {{12, -1}, {12, 1}, {13, -1}, {13, 1}, {16, -1}, {16, 1}, {17, -1}, {17, 1}});
}

int UsulÇiz(PictureBox& picture, const UsulRecord& usul, const QImage& glyphStrip,
            const GlyphTable& largeGlyphs, const LoudnessLetters& letters) {
    BoşPorte(picture);
    const int n = MevcutHalka(usul);
    int total = 0;
    for (int i = 1; i <= n; ++i) {
        const Halka& h = usul.circle(i);
        const CircleGeometry at = circleGeometry(i);
        if (h.hasStroke()) {
            drawStroke(picture, h.rightDuration, true, at.glyphLeft, at.dumGlyphTop, at.dumLineY,
                       glyphStrip, largeGlyphs);
            drawStroke(picture, h.leftDuration, false, at.glyphLeft, at.tekGlyphTop, at.tekLineY,
                       glyphStrip, largeGlyphs);
            picture.text(at.syllableX, at.syllableY, syllableText(h.syllable), kBlack);
            switch (h.level) {
            case 3:
                picture.text(at.letterX, at.letterY, letters.strong, kBlack);
                break;
            case 2:
                picture.text(at.letterX, at.letterY, letters.medium, kBlack);
                break;
            case 1:
                picture.text(at.letterX, at.letterY, letters.weak, kBlack);
                break;
            case 0:
                picture.box(at.letterX, at.letterY, at.letterX + 20, at.letterY + 10, kWhite, true);
                break;
            default:
                break;
            }
        }
        // Every visited circle gets this, so an old bar line or marker is erased in white.
        if (h.barLine == 1) {
            picture.line(at.barX, at.top + 61, at.barX, at.top + 66, kRed);
            picture.line(at.barX, at.top + 72, at.barX, at.top + 78, kRed);
            picture.line(at.barX, at.top + 84, at.barX, at.top + 89, kRed);
        } else {
            picture.line(at.barX, at.barTop, at.barX, at.barBottom, kWhite);
        }
        total += h.strokeLength();
    }
    return total;
}

} // namespace zerkavi
