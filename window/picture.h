// Pictures of the notation as files: PNG, JPEG and SVG of the canvas the JPEG button
// makes (the title line above the notation without its grey circles), and a PDF page laid
// out as the printed page. All are drawn by paintNotation, as shapes and text in PDF and
// SVG. Needs QtGui (a QGuiApplication) and no widgets, so the command line can use it.
#pragma once

#include "common/messages.h"
#include "notation/glyphs.h"
#include "usul/record.h"
#include "window/painter.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <filesystem>
#include <string>

class QPainter;

namespace zerkavi {

// The glyph strip carried inside the program, as the window holds it.
QImage builtInGlyphStrip();
// The notation font: a small bitmap sans serif where one is installed, DejaVu Sans elsewhere.
QFont notationFont(int points);

// The canvas of an usul whose last stroke is circle n > 0: the notation at y = 40 cut to
// the strip that holds strokes, 20 pixels free below it.
QSize exportCanvasSize(int n);
// Paints the canvas on `p` from its origin: white, the notation without its grey circles,
// and `title` in black at (40, 20) in `titleFont`.
void paintExportCanvas(QPainter& p, const UsulRecord& usul, const NotationStyle& style,
                       const QFont& titleFont, const QString& title);

struct PictureResult {
    Message message = Message::none; // Message::noBeats when the usul has no beats
    bool saved = false;
    std::string error; // why the file could not be written
};

// Writes the notation of `usul` to `file` in the picture format of its extension (.png
// .jpg .svg .pdf, any case): the canvas under the title "8 / 4" + the trimmed `nameText`,
// or for a PDF one A4 page with the printed page's title and notation. The file is
// written whole or not at all.
PictureResult writeNotationPicture(const UsulRecord& usul, const NotationStyle& style,
                                   const QString& nameText, const std::filesystem::path& file);

} // namespace zerkavi
