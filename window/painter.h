// Painting the notation: one routine draws the staff and the usul onto any painter (the
// screen picture, the JPEG canvas, the image behind a printed page, PNG, PDF and SVG files). The
// sizing and placing of the screen picture, the length indicator and the total box belong to the
// window.
#pragma once

#include "notation/glyphs.h"
#include "usul/record.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

class QPainter;

namespace zerkavi {

class PictureBox;

// The loudness letters of the current language (Message::letterStrong, letterMedium, letterWeak).
struct LoudnessLetters {
    QString strong; // level 3
    QString medium; // level 2
    QString weak;   // level 1
};

// What the notation is painted with.
struct NotationStyle {
    const QImage& glyphStrip;
    const GlyphTable& glyphs; // the large band of the strip
    LoudnessLetters letters;
    QFont font;
    QColor background = Qt::white;
    // The grey beat circles help editing; pictures that leave the program go without them.
    bool circles = true;
};

// The style for pictures that leave the program: the same, without the beat circles.
inline NotationStyle withoutCircles(NotationStyle style) {
    style.circles = false;
    return style;
}

// `base` at another point size, for the titles of pictures and printed pages.
inline QFont sizedFont(const QFont& base, int points) {
    QFont f = base;
    f.setPointSize(points);
    return f;
}

// Paints on `area` from the painter's origin, clipped to it: the background; area.height()
// / 150 rows (ties to even) of two staff lines and 45 circles filled with the background;
// the double black line between rows; then for every circle up to the last stroke its
// glyphs (AND-combined with what lies below, so white parts of the strip leave it as it
// is), dots, syllable, loudness letter or white box, and bar line (red dashes, or white
// over an old one). On PDF and SVG, which have no raster operations, lines are the
// rectangles of their pixels and glyphs are laid as ink with a transparent white.
void paintNotation(QPainter& p, QSize area, const UsulRecord& usul, const NotationStyle& style);

// One dot (eight pixels around (X + 14, Y)) or two dots (around X + 12.5 and X + 16.5)
// for a glyph whose cell starts at x = X, on the staff line y = Y. Black.
void birNoktaKoy(QPainter& p, int X, int Y);
void ikiNoktaKoy(QPainter& p, int X, int Y);

// The screen picture: the whole picture painted with its own font and background. (These
// two need widgets and live with the window, apart from the painter.)
void UsulÇiz(PictureBox& picture, const UsulRecord& usul, const QImage& glyphStrip,
             const GlyphTable& largeGlyphs, const LoudnessLetters& letters);
// The screen picture without an usul: only the empty staff.
void BoşPorte(PictureBox& picture);

} // namespace zerkavi
