// Turning the notation into a JPEG file or a printed page. These functions show
// nothing: they return the message the window is to show, so the window keeps its one
// way of showing messages.
#pragma once

#include "notation/export_names.h"
#include "platform/picture_box.h"
#include "usul/record.h"
#include "window/painter.h"

#include <QImage>
#include <QString>

#include <filesystem>

class QPrinter;

namespace zerkavi {

// Encodes `image` as a JPEG file; quality is clamped to 0..100. `status` receives the
// writer's status in the codes of codecStatusReport (7 when the file system refused the
// file). False when nothing was written; also false, with status 0, when no JPEG encoder
// is installed (that case shows no message).
bool saveAsJpeg(const QImage& image, const QString& fileName, int quality, int& status);

struct JpegExportResult {
    Message message = Message::none; // noBeats, or forbiddenName (a name no file system takes)
    int codecStatus = kCodecOk;      // of the writer, for codecStatusReport
    bool saved = false;
    std::filesystem::path file; // the file written, or that would have been
};

// The JPEG button: paints on `canvas` the title line and, without its grey circles, the
// part of the notation that holds strokes, and writes the canvas into `folder` under the
// name made of the time signature and the name box text. The canvas keeps the image until
// the next export.
JpegExportResult exportNotationJpeg(const UsulRecord& usul, const NotationStyle& style,
                                    PictureBox& canvas, const QString& nameBoxText,
                                    const std::filesystem::path& folder,
                                    int quality = kJpegQuality);

struct PrintResult {
    Message message = Message::none; // Message::noBeats when the usul has no beats
    bool printed = false;
};

// The print button after the printer was chosen: one page with the title line and the
// notation without its grey circles, laid out in twips and scaled to the printer's
// resolution. Fails (printed false, no message) when the printer cannot be opened.
PrintResult printNotation(QPrinter& printer, const UsulRecord& usul, const NotationStyle& style);

} // namespace zerkavi
