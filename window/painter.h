// Drawing the notation on a picture box: the empty staff, augmentation dots and the whole
// usul. The sizing and placing of the picture, the length indicator and the total box
// belong to the window; these functions only paint.
#pragma once

#include "notation/glyphs.h"
#include "platform/picture_box.h"
#include "usul/record.h"

#include <QImage>
#include <QString>

namespace zerkavi {

// The loudness letters of the current language (messages 19, 20, 21).
struct LoudnessLetters {
    QString strong; // level 3
    QString medium; // level 2
    QString weak;   // level 1
};

// Clears the picture and draws the empty staff: height / 150 rows (ties to even) of two
// staff lines and 45 grey circles filled with the background, and the double black line
// between rows.
void BoşPorte(PictureBox& picture);

// One dot (eight pixels around (X + 14, Y)) or two dots (around X + 12.5 and X + 16.5)
// for a glyph whose cell starts at x = X, on the staff line y = Y. Black.
void birNoktaKoy(PictureBox& picture, int X, int Y);
void ikiNoktaKoy(PictureBox& picture, int X, int Y);

// The drawing part of showing an usul, on a picture already sized for it: the empty staff,
// then for every circle up to the last stroke its glyphs (AND-copied from the large band
// of the glyph strip, so white leaves the picture as it is), dots, syllable, loudness
// letter or white box, and bar line. Returns the total length in 64ths (a circle with
// both strokes counts its Düm length only).
int UsulÇiz(PictureBox& picture, const UsulRecord& usul, const QImage& glyphStrip,
            const GlyphTable& largeGlyphs, const LoudnessLetters& letters);

} // namespace zerkavi
