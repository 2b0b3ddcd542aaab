// The notation painted on the window's picture boxes. Kept apart from the painter, which
// draws on any device and is shared with the command line, where there are no widgets.
#include "platform/picture_box.h"
#include "window/painter.h"

#include <QPainter>

namespace zerkavi {

void UsulÇiz(PictureBox& picture, const UsulRecord& usul, const QImage& glyphStrip,
             const GlyphTable& largeGlyphs, const LoudnessLetters& letters) {
    {
        QPainter p(&picture.image());
        paintNotation(p, picture.image().size(), usul,
                      {glyphStrip, largeGlyphs, letters, picture.font(), picture.background()});
    }
    picture.update();
}

void BoşPorte(PictureBox& picture) {
    UsulÇiz(picture, emptyRecord(), QImage(), GlyphTable{}, {});
}

} // namespace zerkavi
